#include "logger/jobs.h"

namespace pt {

JobsState Jobs;

// Stand-in until the sequencer lands: the tick has nothing to step.
void JobTick(Dialog&) {}

}  // namespace pt
