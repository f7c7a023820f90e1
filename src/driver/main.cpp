// The kova program: one job from the parameter file named on the command line.
#include "driver/job_driver.h"

int main(int argc, char** argv) { return kova::driver::MAIN(argc, argv); }
