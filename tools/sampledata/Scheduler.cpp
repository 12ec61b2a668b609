#include "Scheduler.h"

#include <algorithm>
#include <tuple>

namespace sampledata {

namespace {

// Rooms tried per time before the next time is tried: enough to find a free one in a busy week
// without scanning every room of a whole university.
constexpr std::size_t RoomsTried = 40;
// Sessions starting this late are tried only when the day is full before.
constexpr int EveningStart = 990;

} // namespace

Scheduler::Scheduler(const std::vector<Room> &rooms, int teacherCount, Random &random)
    : rooms_(rooms), random_(random), roomTime_(int(rooms.size())), teacherTime_(teacherCount)
{
    for (std::size_t i = 0; i < rooms.size(); ++i)
        bySize_.push_back(int(i));
    std::stable_sort(bySize_.begin(), bySize_.end(), [&](int a, int b) {
        return rooms[std::size_t(a)].terem_kapacitas < rooms[std::size_t(b)].terem_kapacitas;
    });
}

std::vector<int> Scheduler::roomsFor(const Session &session)
{
    std::vector<int> fitting;
    for (int room : bySize_) {
        const Room &r = rooms_[std::size_t(room)];
        if (r.terem_kapacitas >= session.seats &&
            std::find(session.kinds.begin(), session.kinds.end(), r.kind) != session.kinds.end())
            fitting.push_back(room);
    }
    if (fitting.empty()) // nothing of the kind is big enough: the biggest rooms of any kind
        fitting.assign(bySize_.end() - std::min<std::ptrdiff_t>(8, std::ptrdiff_t(bySize_.size())),
                       bySize_.end());
    if (fitting.size() > RoomsTried) {
        // A spread of sizes, smallest first: always trying the same few rooms first would fill
        // them up and leave the rest of the fitting rooms empty.
        random_.shuffle(fitting);
        fitting.resize(RoomsTried);
        std::stable_sort(fitting.begin(), fitting.end(), [&](int a, int b) {
            return rooms_[std::size_t(a)].terem_kapacitas < rooms_[std::size_t(b)].terem_kapacitas;
        });
    }
    return fitting;
}

bool Scheduler::teachersFree(const Session &session, int day, int start, std::uint16_t weeks) const
{
    return std::all_of(session.teachers.begin(), session.teachers.end(), [&](int teacher) {
        return teacherTime_.isFree(teacher, day, start, start + session.length, weeks);
    });
}

Placement Scheduler::take(const Session &session, int day, int start, int room, std::uint16_t weeks)
{
    if (room >= 0)
        roomTime_.take(room, day, start, start + session.length, weeks);
    for (int teacher : session.teachers)
        teacherTime_.take(teacher, day, start, start + session.length, weeks);
    return {day, start, room};
}

Placement Scheduler::place(const Session &session)
{
    const std::uint16_t weeks = weekBits(session.weeks);
    std::vector<std::pair<int, int>> slots = session.slots;
    random_.shuffle(slots);
    std::stable_sort(slots.begin(), slots.end(), [&](const auto &a, const auto &b) {
        return std::tuple(session.busyDays.count(a.first), a.second >= EveningStart) <
               std::tuple(session.busyDays.count(b.first), b.second >= EveningStart);
    });

    if (session.kinds.empty()) {
        for (const auto &[day, start] : slots)
            if (teachersFree(session, day, start, weeks))
                return take(session, day, start, -1, weeks);
        ++teacherClashes_;
        return take(session, slots.front().first, slots.front().second, -1, weeks);
    }

    const std::vector<int> rooms = roomsFor(session);
    auto freeRoom = [&](int day, int start) {
        for (int room : rooms)
            if (roomTime_.isFree(room, day, start, start + session.length, weeks))
                return room;
        return -1;
    };
    for (const auto &[day, start] : slots) {
        if (!teachersFree(session, day, start, weeks))
            continue;
        if (const int room = freeRoom(day, start); room >= 0)
            return take(session, day, start, room, weeks);
    }
    // No time suits both: a room is worth more than a teacher's free hour, as a planner would
    // sort the teacher out by hand later.
    for (const auto &[day, start] : slots) {
        if (const int room = freeRoom(day, start); room >= 0) {
            ++teacherClashes_;
            return take(session, day, start, room, weeks);
        }
    }
    ++roomless_;
    for (const auto &[day, start] : slots)
        if (teachersFree(session, day, start, weeks))
            return take(session, day, start, -1, weeks);
    ++teacherClashes_;
    return take(session, slots.front().first, slots.front().second, -1, weeks);
}

} // namespace sampledata
