// The run loop's work space: the running hydrograph, the branch stack, the print
// columns and the saved channel I/O hydrographs, carved after the loss tables.
#pragma once

#include <cstddef>

#include "state/views.h"

namespace kova::state {

struct Job;

// Every hydrograph here has nTimes ordinates (rows).
struct RoutingTables {
  Vec1<float> running;        // Q: the flow at the current point of the network
  Mat1<float> branchStack;    // one stored hydrograph per open branch      [nTimes x maxStoreLevel]
  Vec1<float> volumeStack;    // inflow volume V of each open branch, m³    [maxStoreLevel]
  Vec1<float> centroidStack;  // inflow centroid T of each open branch, h   [maxStoreLevel]
  Vec1<float> columnA;        // print columns: the hydrograph before a step (upstream,
  Vec1<float> columnB;        //   reach inflow, untranslated) and a sub-area's inflow
  Vec1<float> ioColumn;       // a channel I/O hydrograph
  Vec1<float> lateralColumn;  // what a distributed I/O adds or takes over one reach
  Mat1<float> savedIO;        // saved channel I/O hydrographs             [nTimes x slots]
  std::size_t realEnd = 0;
};

// Lays out job.routingTables after the loss tables; false when the reals pass limReal.
bool layoutRoutingTables(Job& job, std::size_t realStart);

}  // namespace kova::state
