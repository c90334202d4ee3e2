#pragma once

// The pictures live in src/art/ (library brisko_art). The main window's source still names
// them by their old path; this header goes once it includes "art/art.h".
#include "art/art.h"
