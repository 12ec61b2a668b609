#pragma once

// Finds a time and a room for one weekly session so that no room is taken twice at the same time
// in the same week, and, where it can, no teacher either.

#include "Faculty.h"
#include "Occupancy.h"
#include "Random.h"

#include <set>
#include <utility>
#include <vector>

namespace sampledata {

struct Session
{
    std::vector<std::pair<int, int>> slots; // (calendar day, start minute) the session may take
    int length = 90;
    std::string weeks;           // week mask
    std::vector<int> teachers;   // indexes into the faculty's teachers
    std::vector<RoomKind> kinds; // rooms the session fits in; empty: needs no room
    int seats = 0;
    std::set<int> busyDays; // days the course already meets on, tried last
};

struct Placement
{
    int day = 0;
    int start = 0;
    int room = -1; // index into the faculty's rooms, -1 when none was free
};

class Scheduler
{
public:
    Scheduler(const std::vector<Room> &rooms, int teacherCount, Random &random);

    Placement place(const Session &session);

    int teacherClashes() const { return teacherClashes_; }
    int roomless() const { return roomless_; }

private:
    std::vector<int> roomsFor(const Session &session);
    bool teachersFree(const Session &session, int day, int start, std::uint16_t weeks) const;
    Placement take(const Session &session, int day, int start, int room, std::uint16_t weeks);

    const std::vector<Room> &rooms_;
    std::vector<int> bySize_; // room indexes, smallest first
    Random &random_;
    Occupancy roomTime_;
    Occupancy teacherTime_;
    int teacherClashes_ = 0;
    int roomless_ = 0;
};

} // namespace sampledata
