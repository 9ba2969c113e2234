#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "prelix10/core/Cancellation.hpp"
#include "prelix10/platform/DispatchQueue.hpp"

namespace Prelix10 {

// The members of a composite discovery whose run has started and not yet ended. A member may end before
// its start call returns; that end is remembered so the start does not count it as running.
class CompositeMemberSet {
public:
    void reset();
    void didStart(const void* member);
    void didFinish(const void* member);
    bool isEmpty() const;

private:
    mutable std::mutex mutex_;
    std::vector<const void*> active_;
    std::vector<const void*> earlyEnds_;
};

// Runs a composite's members on the global queue: starts each (a member that refuses to start is tried
// again every 10 ms until the run is stopped), then waits until every member has ended and calls
// completion. The worker holds the composite weakly: when the app drops it, the members are stopped.
template <typename Owner, typename Member, typename MemberDelegate>
void startCompositeRun(std::weak_ptr<Owner> weak, std::shared_ptr<CompositeMemberSet> running,
                       std::vector<std::shared_ptr<Member>> members, std::shared_ptr<MemberDelegate> memberDelegate,
                       std::shared_ptr<CancellationToken> token, std::function<void()> completion) {
    running->reset();
    GlobalQueue::async([weak = std::move(weak), running = std::move(running), members = std::move(members),
                        memberDelegate = std::move(memberDelegate), token = std::move(token),
                        completion = std::move(completion)] {
        constexpr auto kPause = std::chrono::milliseconds(10);
        auto stopRequested = [&] { return token->isCancelled() || GlobalQueue::isShuttingDown(); };
        auto pending = members;
        while (!stopRequested() && !pending.empty()) {
            std::vector<std::shared_ptr<Member>> failed;
            for (const auto& member : pending) {
                auto owner = weak.lock();
                if (!owner) break;
                member->setDiscoveryTime(owner->discoveryTime());
                member->setDelegate(memberDelegate);
                try {
                    member->startDiscovery();
                    running->didStart(member.get());
                } catch (...) {
                    failed.push_back(member);
                }
            }
            if (weak.expired()) break;
            pending = std::move(failed);
            if (!pending.empty()) std::this_thread::sleep_for(kPause);
        }
        bool told = false;
        for (;;) {
            if (weak.expired()) {
                for (const auto& member : members) member->stopDiscovery();
                break;
            }
            if (running->isEmpty()) break;
            if (stopRequested() && !told) {
                told = true;
                for (const auto& member : members) member->stopDiscovery();
            }
            std::this_thread::sleep_for(kPause);
        }
        completion();
    });
}

}  // namespace Prelix10
