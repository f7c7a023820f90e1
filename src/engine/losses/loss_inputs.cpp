// The loss step's views of a read and analysed job.
#include "engine/losses/loss_inputs.h"

namespace kova::engine {

LossInputs lossInputsOf(state::Job& job) {
  const state::SubAreaTables& a = job.subAreaTables;
  const state::StormTables& s = job.stormTables;
  const state::AnalysisTables& t = job.analysisTables;
  return {
      .burst = a.burst,
      .subArea = a.subArea,
      .fracImperv = a.fracImperv,
      .burstDepth = s.subAreaRain,
      .pluvioRef = s.pluvioRef,
      .pluvio = s.pluvio,
      .burstTotal = s.burstTotal,
      .isaSubAreas = t.isaSubAreas,
      .isaUpstream = t.isaUpstream,
      .isaArea = t.isaArea,
      .isaTotalArea = t.isaTotalArea,
      .isaHyds = a.isaHyds,
      .recordedVolume = s.riseVol,
      .isaName = t.isaName,
  };
}

}  // namespace kova::engine
