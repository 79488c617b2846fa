// A scripted stand-in for the message box and the input dialog.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace scripted {

struct Box {
    Text title;
    Text text;
    unsigned flags;
};

struct Prompt {
    Text title;
    Text message;
    int width;
    Text defaultText;
    Text cancelValue;
};

// Answers given in order; a box with no answer left returns 0 (no box shown),
// a dialog with no answer left returns its cancel value.
extern std::deque<int> boxAnswers;
extern std::deque<Text> dialogAnswers;
extern std::vector<Box> boxes;
extern std::vector<Prompt> prompts;

void reset();

}  // namespace scripted
