#pragma once
// The utility module: file and path operations and the time text.
#include "services/file_utils.h"
#include "services/time_text.h"
