// The six checks that a set-up must pass before it is stored. Standard C++
// only: the configuration dialog applies them, the tests run them natively.
#pragma once

#include "config_record.h"

// True when, in this order, the winning figure is given, the number of games
// is at most 10 and more than 0, a password is given, no figure is missing,
// and the winning figure is among the figures (compared as numbers). Nothing
// else is checked: figures of 0, repeated figures and an empty comment pass.
bool entriesPass(const GameConfig& config);
