#include "platform/PosixEncoderRunner.h"

#include <atomic>

namespace {

// What a queued hand-off needs; it outlives the run for as long as tasks hold it.
struct HandOffTarget {
    explicit HandOffTarget(IEncoderRunner::OutputCallback callback)
        : Callback(std::move(callback)) {}
    const IEncoderRunner::OutputCallback Callback;
    std::atomic<bool> Alive{true};
};

class PosixEncoderRun : public IEncoderRun {
public:
    PosixEncoderRun(const std::string& commandLine, std::shared_ptr<HandOffTarget> target,
                    std::shared_ptr<IPoster> poster, const std::string& programFolder,
                    AdvanceSystemTiming timing)
        : target_(target),
          system_(
              commandLine,
              [weak = std::weak_ptr<HandOffTarget>(target), poster](const std::string& piece) {
                  poster->Post([weak, piece] {
                      const auto strong = weak.lock();
                      if (strong && strong->Alive.load() && strong->Callback) {
                          strong->Callback(piece);
                      }
                  });
              },
              programFolder, timing) {
        system_.Resume();
    }

    ~PosixEncoderRun() override {
        // From here on nothing reaches the callback; the worker finishes its loop once the
        // child is gone, without the pauses it would make for the display.
        target_->Alive.store(false);
    }

    bool Finished() const override { return system_.Finished(); }
    int ExitCode() const override { return system_.ExitCode(); }

private:
    std::shared_ptr<HandOffTarget> target_;
    TAdvanceSystem system_;
};

}  // namespace

PosixEncoderRunner::PosixEncoderRunner(std::shared_ptr<IPoster> poster, std::string programFolder,
                                       AdvanceSystemTiming timing)
    : poster_(std::move(poster)), programFolder_(std::move(programFolder)), timing_(timing) {}

std::unique_ptr<IEncoderRun> PosixEncoderRunner::Start(const std::string& commandLine,
                                                       OutputCallback onOutput) {
    auto target = std::make_shared<HandOffTarget>(std::move(onOutput));
    return std::make_unique<PosixEncoderRun>(commandLine, std::move(target), poster_,
                                             programFolder_, timing_);
}
