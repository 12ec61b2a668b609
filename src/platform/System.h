#pragma once

// Services of the operating system and the runtime: the login name and random numbers.

#include <string>

// The login name of the user running the process, in cp1250. False when none can be found.
bool GetUserName(std::string &name);

// Seeds the random numbers from the clock and the process id. Random seeds itself this way on
// first use, so calling Randomize is only needed to start a new sequence.
void Randomize();

// A random number in 0 .. range - 1; 0 when range is not positive.
int Random(int range);
