#include "game/moveworker.hpp"

#include "game/random.hpp"

#include <limits>
#include <utility>

namespace tandrel {

MoveWorker::MoveWorker(std::function<void()> answered)
    : answered(std::move(answered)),
      nextSeed(uniform(0u, std::numeric_limits<std::uint32_t>::max())),
      thread([this] { run(); }) {}

MoveWorker::~MoveWorker() {
    {
        const std::lock_guard lock(mutex);
        stopping = true;
        // The thread swaps engines only under the lock: the one it may be
        // searching with is here.
        for (Slot& slot : slots)
            if (slot.engine) slot.engine->stop();
    }
    wake.notify_one();
    thread.join();
}

void MoveWorker::setLevel(std::uint32_t slot, computer::Level level) {
    if (levels[slot] == level) return;
    levels[slot] = level;
    // Made before taking the lock: making an engine fills its tables.
    auto engine = std::make_unique<computer::Engine>(level, nextSeed++);
    const std::lock_guard lock(mutex);
    slots[slot].nextEngine = std::move(engine);
}

void MoveWorker::request(std::uint32_t slot, computer::Packed grid) {
    {
        const std::lock_guard lock(mutex);
        slots[slot].grid = grid;
        ++slots[slot].asked;
    }
    wake.notify_one();
}

std::optional<Direction> MoveWorker::answer(std::uint32_t slot) {
    const std::unique_lock lock(mutex, std::try_to_lock);
    if (!lock.owns_lock()) return std::nullopt;
    const Slot& s = slots[slot];
    if (s.asked == 0 || s.answered != s.asked) return std::nullopt;
    return s.move;
}

static_assert(MoveWorker::slotCount == 2, "run() serves two slots in turn");

void MoveWorker::run() {
    std::unique_lock lock(mutex);
    std::uint32_t turn = 0;
    for (;;) {
        const auto waiting = [this](std::uint32_t i) { return slots[i].asked != slots[i].taken; };
        wake.wait(lock, [&] { return stopping || waiting(0) || waiting(1); });
        if (stopping) return;
        // The slot after the last one served goes first, so neither board starves.
        const std::uint32_t index = waiting(turn) ? turn : 1 - turn;
        turn = 1 - index;
        Slot& slot = slots[index];
        slot.taken = slot.asked;
        // Freed outside the lock: an engine's tables are large.
        std::unique_ptr<computer::Engine> retired;
        if (slot.nextEngine) retired = std::exchange(slot.engine, std::move(slot.nextEngine));
        const computer::Packed grid = slot.grid;
        const std::uint64_t number = slot.taken;
        computer::Engine& engine = *slot.engine;
        lock.unlock();
        retired.reset();
        const Direction move = engine.chooseMove(grid);
        lock.lock();
        slot.answered = number;
        slot.move = move;
        if (answered) {
            lock.unlock();
            answered();
            lock.lock();
        }
    }
}

} // namespace tandrel
