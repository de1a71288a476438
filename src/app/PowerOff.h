#pragma once

// Asks the system to power off. The program uses LogindPowerOff; tests record the request.
class IPowerOff {
public:
    virtual ~IPowerOff() = default;
    // The outcome is not reported: a refusal changes nothing for the caller.
    virtual void PowerOff() = 0;
};

// PowerOff of systemd-logind's manager on the system bus, without interactive authentication.
// Waits for the answer (at most a few seconds) so that the request has left before the program
// ends; a missing bus, a refusal or no answer is logged to standard error and otherwise ignored.
class LogindPowerOff : public IPowerOff {
public:
    void PowerOff() override;
};
