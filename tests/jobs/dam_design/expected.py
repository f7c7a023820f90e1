#!/usr/bin/env python3
"""Works out expected/Dam_Design.out for the dam_design job from the rules alone.

A DESIGN run with the rainfall printed (print option 2), continuing losses (IL 10 mm,
2.0 mm/h), kc 1.5 and m = 1 (linear reaches), and four special storages:
- the retarding basin below sub-area A (code 16): S = 3600 ks Q with ks = 0.85 h (2 ks above
  the 1 h increment, so no outflow goes negative), 30000 m3 drawn down at the start, which
  the inflow fills during the storm; its levels come from the storage function
  8000 (h - 50)^1.5; the results block and the outflow/inflow print follow the routing;
- the farm dam on sub-area B's branch (code 6): 100000 m3 drawn down, more than B's whole
  runoff, so it passes nothing and only reports the drawdown left;
- the pond below the confluence (code 16): full to cease-to-flow at the start, the
  non-linear formula S = 3600 ks Q^ms with ks = 0.8 h and ms = 0.7, no elevation relation
  (so no peak level), routed by the implicit step with the secant search and halved
  sub-steps;
- the detention dam at the outlet (code 16): a storage-discharge table, full to
  cease-to-flow at the start, routed in the same way through table look-ups, its peak
  level from an elevation-storage table.
Run it from this folder: python3 expected.py
"""
import os
import sys

sys.dont_write_bytecode = True  # keep the fixture folders free of caches

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import jobcalc  # noqa: E402

STORAGES = [
    {"name": "Retarding basin", "start": -30000.0, "drel": 0, "ks": 0.85, "ms": 1.0,
     "erel": 2, "power": (8000.0, 1.5, 50.0)},
    {"name": "Farm dam", "start": -100000.0, "drel": 0, "ks": 1.0, "ms": 1.0, "erel": 0},
    {"name": "Pond", "start": 0.0, "drel": 0, "ks": 0.8, "ms": 0.7, "erel": 0},
    {"name": "Detention dam", "start": 0.0, "drel": 1,
     "storages": [0.0, 20000.0, 50000.0, 100000.0, 180000.0, 300000.0, 500000.0],
     "discharges": [0.0, 2.0, 6.0, 12.0, 20.0, 30.0, 45.0],
     "erel": 1, "levels": [200.0, 201.0, 202.0, 203.5, 205.0],
     "level_storages": [0.0, 30000.0, 80000.0, 200000.0, 500000.0]},
]

JOB = {
    "catchment_file": "Dam.cat", "storm_file": "Design.stm", "print_option": 2,
    "title": "Dam test catchment", "storm_title": "Dam design storm",
    "loss_model": 1, "kc": 1.5, "m": 1.0, "losses": [(10.0, 2.0)],
    "dt_h": 1.0, "n_incs": 24, "bursts": [(0, 4)], "pluvio": [10.0, 25.0, 15.0, 5.0],
    "areal_flag": 0, "imperv_flag": 0, "areas": [3.0, 1.5, 2.0], "fracs": [0.0, 0.0, 0.0],
    "depths": None,
    "reaches": [(1, 2.0, 0.0), (1, 1.0, 0.0), (1, 1.5, 0.0)],
    "vector": [(1, None), (16, None), (3, None), (1, None), (6, None), (4, None), (16, None), (2, None),
               (16, None), (7, "Dam outlet"), (0, None)],
    "storages": STORAGES,
}

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    jobcalc.write(os.path.join(here, "expected", "Dam_Design.out"), jobcalc.run_design_job(JOB))
    print("finest sub-step per iterated storage (parts of the increment): %r" % jobcalc.SUB_STEPS)
