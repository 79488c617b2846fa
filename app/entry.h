#pragma once

// Prepares the process, sets the process-wide values, runs the main flow and
// shuts down. Returns the exit code, which is always 0.
int appEntry();
