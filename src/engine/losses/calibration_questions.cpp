// Questions through the interaction hooks, each one kept in the log.
#include "engine/losses/calibration_questions.h"

#include "driver/hooks.h"
#include "driver/messages.h"

namespace kova::engine {

Answer ask(state::Job& job, std::string_view question, Answer batchAnswer) {
  driver::wmessagebox("Question", question);
  driver::warnmess(job, question);
  // The dialogue leaves the answer as it finds it when no front end is attached.
  float answer = batchAnswer == Answer::yes ? 1.0F : 0.0F;
  driver::winfodialog(answer);
  return answer > 0.5F ? Answer::yes : Answer::no;
}

}  // namespace kova::engine
