#pragma once

#include "FirstPaintWatch.h"

class ProgramFolder;

// One start of the program, watched from outside, all times from the moment
// just before the process is created.
struct ProgramStart
{
    double mappedMs = 0;     // its window shown
    double firstPaintMs = 0; // its first picture on screen
    double lastPaintMs = 0;  // its last picture before the screen went quiet
    double quitMs = 0;       // from SIGTERM to its exit
    long peakKiB = 0;        // its largest resident set, as the kernel counted it
    double cpuMs = 0;        // the processor time it used, user and system, up to its exit
};

// Starts the program of the folder on the watched display (the X platform,
// whatever QT_QPA_PLATFORM says), waits for its first paint and for the
// screen to go quiet, then ends it with SIGTERM, which it takes as an orderly
// close. Its output goes to "output.log" in its folder. Throws
// std::runtime_error when it paints nothing within 15 s (it is then killed)
// or does not exit with status 0.
ProgramStart startProgram(const ProgramFolder &folder, FirstPaintWatch &watch);
