#pragma once

#include "model/game_state.h"
#include "storage/spin_file.h"
