#pragma once

// The calendar control: items, the calendar grid and the item boxes.

#include "calendar/CalendarGrid.h"
#include "calendar/CalendarItem.h"
#include "calendar/CalendarObj.h"
