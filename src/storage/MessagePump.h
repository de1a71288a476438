#pragma once

// "Let pending window messages run once": the window supplies the real pump
// (QCoreApplication::processEvents), tests count the calls.
class IMessagePump {
public:
    virtual ~IMessagePump() = default;
    virtual void ProcessMessages() = 0;
};
