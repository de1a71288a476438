#pragma once

#include <string>

// The desktop's default handler for a web address, a mailto: address or a local file. The
// program uses QtDesktop; tests record the targets.
class IDesktop {
public:
    virtual ~IDesktop() = default;
    // Opens the target with its default action; the outcome is not reported.
    virtual void Open(const std::string& target) = 0;
};

// QDesktopServices::openUrl: an absolute path opens as a local file, anything else as a URL.
class QtDesktop : public IDesktop {
public:
    void Open(const std::string& target) override;
};
