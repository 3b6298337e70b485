// How a failure ends in the program with a window: the report to the debugger output, the
// desktop's display mode back, the window hidden, the two message boxes and the orderly shutdown.
// The application installs it (SetFailureEnding); the failure reporter then exits with code 1.
#pragma once

void EndFailureWithMessageBoxes(const char* report);
