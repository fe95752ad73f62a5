#pragma once
// The program from start to end: the single-instance hand-over, the splash, the frame
// and its first show, the message loop.

namespace tessaly {

// Arguments: an optional file to open (a book, or a diary by its ".TDY" extension),
// and "--screenshot FILE" to save a picture of the frame shortly after the start and
// then shut down as at an exit (for looking at the program without a screen).
int RunProgram(int argc, char** argv);

} // namespace tessaly
