#pragma once

// Option sets and switches shared by the engine's classes.

#include "platform/DBTypes.h"
#include "platform/EnumSet.h"

#include <cstdint>

// Per-field compare options of a field list.
enum TztrifoOption : std::uint8_t {
    mtifoDescending,
    mtifoCaseInsensitive,
    mtifoPartial,
    mtifoIgnoreNull,
    mtifoIgnoreLocale,
};
using TztrifoOptions = EnumSet<TztrifoOption>;

// Index-level options; the first five match the field options one to one, by position.
enum TztrMemTableCompareOption : std::uint8_t {
    mtcoDescending,
    mtcoCaseInsensitive,
    mtcoPartialKey,
    mtcoIgnoreNullKey,
    mtcoIgnoreLocale,
    mtcoUnique,
    mtcoNonMaintained,
};
using TztrMemTableCompareOptions = EnumSet<TztrMemTableCompareOption>;

inline constexpr int FieldOptionCount = 5;

enum TztrPerformance : std::uint8_t { mtpfFast, mtpfBalanced, mtpfSmall };

enum TztrVersioningMode : std::uint8_t { mtvm1SinceCheckPoint, mtvmAllSinceCheckPoint };

enum TztrProgressCode : std::uint8_t {
    mtpcLoad,
    mtpcSave,
    mtpcEmpty,
    mtpcCopy,
    mtpcSort,
    mtpcSearch,
    mtpcUpdate,
};
using TztrProgressCodes = EnumSet<TztrProgressCode>;

// The record update statuses an index holds.
using TztrUpdateStatusSet = EnumSet<TUpdateStatus>;

// The most fields a record layout or a field list can hold.
inline constexpr int MaxFields = 256;
