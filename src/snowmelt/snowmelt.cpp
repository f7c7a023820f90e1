// Snowmelt stages of the job.
#include "snowmelt/snowmelt.h"

namespace kova::snowmelt {

void readsnowmeltdata(state::Job& /*job*/) {}
void writepackinit(state::Job& /*job*/) {}
void writeclim(state::Job& /*job*/) {}
void compsnow(state::Job& /*job*/) {}

}  // namespace kova::snowmelt
