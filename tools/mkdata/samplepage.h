#pragma once

#include "document/pagemodel.h"

// The sample project shipped in the projects folder: a small club page that shows off
// every kind of block.
TPagelette SamplePage();
