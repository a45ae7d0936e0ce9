#pragma once

#include "model/game_state.h"
#include "storage/text_file.h"
