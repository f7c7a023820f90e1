// The questions of the loss-parameter calculation, put to the front end's hooks with the
// answer a batch run takes when nobody is there to give another.
#pragma once

#include <string_view>

#include "state/job.h"

namespace kova::engine {

enum class Answer { no, yes };

// Shows `question` under the title "Question", writes it to the log and returns the
// answer: `batchAnswer` unless the front end's dialogue gave another.
Answer ask(state::Job& job, std::string_view question, Answer batchAnswer);

}  // namespace kova::engine
