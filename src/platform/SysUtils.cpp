#include "platform/SysUtils.h"
