#pragma once

#include <functional>

#include "storage/MessagePump.h"

// Counts the "let pending messages run" calls; `onPump`, when set, runs inside each call as a
// window message would.
class CountingMessagePump : public IMessagePump {
public:
    int calls = 0;
    std::function<void()> onPump;

    void ProcessMessages() override {
        ++calls;
        if (onPump) onPump();
    }
};
