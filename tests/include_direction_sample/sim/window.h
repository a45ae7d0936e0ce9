#pragma once

#include "engine/engine.h"
#include "ui/main_window.h"
