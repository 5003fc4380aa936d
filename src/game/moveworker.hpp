#pragma once

#include "game/computer/engine.hpp"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace tandrel {

// The one thread the computer players think on. It searches a copy of a
// packed grid and hands back a direction; the boards, the window and the
// captions stay the main thread's alone. Each board the computer steers has
// a slot of its own, and the slots are served in turn.
class MoveWorker {
public:
    static constexpr std::uint32_t slotCount = 2;

    // `answered` runs on the thread after each answer is found: the owner
    // wakes its main loop there. It must be safe from any thread.
    explicit MoveWorker(std::function<void()> answered = {});
    // Stops a search in progress at once, so that a program that ends while
    // the computer thinks long ends at once too.
    ~MoveWorker();
    MoveWorker(const MoveWorker&) = delete;
    MoveWorker& operator=(const MoveWorker&) = delete;

    // Makes the slot search at `level` from its next request on. The engine
    // is made here, on the calling thread, so that a failure to make one is
    // the caller's to report; the thread starts on it when it takes up the
    // next request.
    void setLevel(std::uint32_t slot, computer::Level level);
    // Asks for a move on the grid. It replaces a request of the slot that is
    // not yet taken up, and the answer to any earlier one is never given.
    void request(std::uint32_t slot, computer::Packed grid);
    // The move for the slot's latest request once it is found. Never waits:
    // while the thread holds the lock it answers nothing, to be asked again.
    std::optional<Direction> answer(std::uint32_t slot);

private:
    struct Slot {
        computer::Packed grid = 0;
        // Requests are numbered; the answer carries the number it is for.
        std::uint64_t asked = 0;
        std::uint64_t taken = 0;
        std::uint64_t answered = 0;
        Direction move = Direction::Left;
        // Handed over by setLevel; the thread alone uses and frees `engine`.
        std::unique_ptr<computer::Engine> nextEngine;
        std::unique_ptr<computer::Engine> engine;
    };

    void run();

    std::function<void()> answered;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::array<Slot, slotCount> slots;
    // Remembered on the calling thread, so that a level already set makes no engine.
    std::array<std::optional<computer::Level>, slotCount> levels;
    std::uint64_t nextSeed;
    // Last, so that it starts once everything it uses is there.
    std::thread thread;
};

} // namespace tandrel
