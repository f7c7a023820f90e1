#!/usr/bin/env python3
"""Works out expected/Creek_Design.out for the linear_design job from the rules alone.

A DESIGN run, flows only, continuing-loss model (IL 15 mm, 2.4 mm/h), kc 2.2 and m = 1,
so every reach is a linear reservoir solved in closed form. Sub-area A on the main stream,
B on a branch added back by a printed confluence (code 14), a printed reach (code 15),
then C over a reach without delay and the print point at the outlet.
Run it from this folder: python3 expected.py
"""
import os
import sys

sys.dont_write_bytecode = True  # keep the fixture folders free of caches

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import jobcalc  # noqa: E402

JOB = {
    "catchment_file": "Creek.cat", "storm_file": "Design.stm", "print_option": 1,
    "title": "Linear test creek", "storm_title": "Design storm, one burst",
    "loss_model": 1, "kc": 2.2, "m": 1.0, "losses": [(15.0, 2.4)],
    "dt_h": 1.0, "n_incs": 12, "bursts": [(0, 4)], "pluvio": [9.0, 22.0, 13.0, 6.0],
    "areal_flag": 0, "imperv_flag": 0, "areas": [2.3, 1.7, 1.1], "fracs": [0.0, 0.0, 0.0],
    "depths": None,
    "reaches": [(1, 2.0, 0.0), (1, 1.0, 0.0), (1, 1.5, 0.0), (4, 0.5, 0.0)],
    "vector": [(1, None), (3, None), (1, None), (14, None), (15, None), (1, None),
               (7, "Outlet weir"), (0, None)],
}

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    jobcalc.write(os.path.join(here, "expected", "Creek_Design.out"), jobcalc.run_design_job(JOB))
