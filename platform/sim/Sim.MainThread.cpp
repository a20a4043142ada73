#include "platform/sim/Sim.MainThread.h"

#include <stdexcept>
#include <utility>

namespace platform::sim {

TSimMainThread::TSimMainThread() : FMainThread(std::this_thread::get_id()) {}

bool TSimMainThread::IsMainThread() const {
    return std::this_thread::get_id() == FMainThread;
}

void TSimMainThread::Queue(std::function<void()> Call, const void* Owner) {
    if (!Call)
        return;
    FCalls.Push(std::move(Call), Owner);
}

void TSimMainThread::RemoveQueued(const void* Owner) {
    FCalls.RemoveOwner(Owner);
}

std::size_t TSimMainThread::Drain() {
    if (!IsMainThread())
        throw std::logic_error("TSimMainThread::Drain called off the main thread");
    std::size_t ran = 0;
    while (auto call = FCalls.TakeFront()) {
        ++ran;
        (*call)();
    }
    return ran;
}

std::size_t TSimMainThread::PendingCount() const {
    return FCalls.Size();
}

} // namespace platform::sim
