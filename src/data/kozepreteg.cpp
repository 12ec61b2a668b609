#include "data/kozepreteg.h"

TDMK *DMK = nullptr;
