// Starting external programs: to their end with their output, or left to run.
#pragma once

#include "platform/platform.h"

// Runs program with parameters and returns what it wrote to its standard
// output, decoded in the ANSI code page, with separator after every piece
// collected. Empty when it could not be started or wrote nothing. Waits
// without spinning until the program has ended and its pipe is empty.
Text runAndCapture(const Text& program, const Text& parameters, const Text& workingDirectory,
                   const Text& separator, bool hidden);

// Starts a program, or hands a document or web address to the shell when it
// cannot be started directly. Returns at once; false when nothing started.
bool startDocument(const Text& target);
