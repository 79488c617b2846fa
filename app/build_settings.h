// The program's configuration, fixed when it is built.
#pragma once

// The update list location: an http(s) URL, or any other text as a file path.
const char* buildUpdateListUrl();
// The folder that stands for drive C: on Linux; empty for drive_c beside the
// executable.
const char* buildDriveCFolder();
