#!/usr/bin/env python3
"""Works out expected/Hill_Twoburst.out for the runoff_coefficient job from the rules alone.

A DESIGN run with the hyetographs printed (print option 2), the runoff-coefficient loss
model and impervious fractions 0.2, 0.3 and 0: in burst 1 (IL 15 mm, coefficient 0.5)
sub-area B's 12 mm fall short of the initial loss, so its IL is lowered to 12 mm and its
impervious share runs off; in burst 2 (IL 12 mm, coefficient 0.95, above the impervious
coefficient 0.9) B is lowered again and C, all pervious, gives no excess. The reaches are
non-linear (m = 0.8): each increment's implicit step is solved by the documented secant
search and checked against a solve to machine precision.
Run it from this folder: python3 expected.py
"""
import os
import sys

sys.dont_write_bytecode = True  # keep the fixture folders free of caches

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import jobcalc  # noqa: E402

JOB = {
    "catchment_file": "Hill.cat", "storm_file": "Twoburst.stm", "print_option": 2,
    "title": "Runoff coefficient hill", "storm_title": "Two bursts on the hill",
    "loss_model": 2, "kc": 1.6, "m": 0.8, "losses": [(15.0, 0.5), (12.0, 0.95)],
    "dt_h": 0.5, "n_incs": 16, "bursts": [(0, 3), (6, 8)], "pluvio": [8.0, 14.0, 6.0, 9.0, 5.0],
    "areal_flag": 1, "imperv_flag": 1, "areas": [1.5, 1.0, 2.0], "fracs": [0.2, 0.3, 0.0],
    "depths": [[30.0, 12.0, 25.0], [15.0, 10.0, 11.0]],
    "reaches": [(1, 1.2, 0.0), (1, 0.8, 0.0), (1, 0.6, 0.0), (1, 1.0, 0.0)],
    "vector": [(1, None), (1, None), (1, None), (15, None), (7, "Hill outlet"), (0, None)],
}

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    jobcalc.write(os.path.join(here, "expected", "Hill_Twoburst.out"), jobcalc.run_design_job(JOB))
    print("largest gap between the secant search and the exact step: %.3g m3/s"
          % jobcalc.MAX_EXACT_GAP[0])
