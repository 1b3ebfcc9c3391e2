#pragma once
// The mark-up painter needs no widgets; it lives with the adapters so that the
// command-line program can draw reports with it.
#include "results/adapters/markup_painter.h"
