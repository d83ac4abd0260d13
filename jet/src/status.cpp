// Anchors the engine library; the error types themselves are header-only.
#include "jet/status.h"
