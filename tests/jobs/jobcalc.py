"""Independent hand-calculation of small whole jobs, shared by the expected.py scripts.

Works a job out from the rules of the engine's documentation (losses, linear and non-linear
reach routing, special storages with their drawdowns, formula and table relations and
sub-stepped routing, hydrograph statistics, the report layouts given as field lists) and writes
the output file the engine must produce. It knows nothing of the engine's code: every
number is computed here, in double precision, and every printed value is checked for
lying so near a rounding boundary that single-precision arithmetic could print it the other
way (such a job is refused so that its inputs can be moved off the boundary).

Standard library only. Used as: import jobcalc (from the job's own folder, see expected.py).
"""
import math

# ---------------------------------------------------------------------------
# Fixed-column formatting (Fortran edit descriptors)
# ---------------------------------------------------------------------------

NEAR_TIES = []
TIE_REL = 5.0e-7  # a few single-precision ulps: stay clear of rounding boundaries


def _check_tie(v, d, what):
    """Records a value whose decimal rounding to d places is within reach of float error."""
    scaled = abs(v) * 10.0 ** d
    frac = scaled - math.floor(scaled)
    if abs(frac - 0.5) * 10.0 ** (-d) < TIE_REL * max(abs(v), 1.0e-3):
        NEAR_TIES.append((what, v, d))


def F(v, w, d, what="F"):
    """Fw.d: right-justified fixed point; asterisks when too wide."""
    _check_tie(v, d, what)
    s = "%#.*f" % (d, v) if d == 0 else "%.*f" % (d, v)
    if s.startswith("-") and float(s) == 0.0:
        raise ValueError("negative zero would print for %r (%s)" % (v, what))
    if len(s) > w:
        return "*" * w
    return s.rjust(w)


def I(v, w, m=None):
    """Iw or Iw.m (zero-padded to m digits)."""
    s = str(abs(int(v))) if m is None else str(abs(int(v))).rjust(m, "0")
    if v < 0:
        s = "-" + s
    if len(s) > w:
        return "*" * w
    return s.rjust(w)


def E1P(v, w=9, d=2):
    """1PEw.d: one digit before the point, two-digit exponent."""
    if v != 0.0:
        mant = abs(v) / 10.0 ** math.floor(math.log10(abs(v)))
        _check_tie(mant, d, "E")
    s = "%.*E" % (d, v)
    return s.rjust(w)


def E(v, w, d, what="E"):
    """Ew.d without a scale factor: 0.ddd mantissa, two-digit exponent (the 0 dropped when
    the field has no room for it)."""
    if v == 0.0:
        body = "0." + "0" * d + "E+00"
    else:
        exp = math.floor(math.log10(abs(v))) + 1
        mant = abs(v) / 10.0 ** exp
        _check_tie(mant * 10.0, d - 1, what)
        digits = int(round(mant * 10.0 ** d))
        if digits >= 10 ** d:  # rounding carried into a new digit
            digits //= 10
            exp += 1
        body = "0." + str(digits).rjust(d, "0") + "E" + ("-" if exp < 0 else "+") + "%02d" % abs(exp)
        if v < 0:
            body = "-" + body
    if len(body) > w and body.lstrip("-").startswith("0."):
        body = body.replace("0.", ".", 1)
    if len(body) > w:
        return "*" * w
    return body.rjust(w)


def fortran_nint(x):
    return int(math.floor(abs(x) + 0.5)) * (1 if x >= 0 else -1)


def ndecpl(x, w, s, d):
    """Number of decimals for printing x in width w with s significant figures, at least d."""
    g = 1 if x < 0 else 0
    if abs(x) < 0.5 * 10.0 ** (g + 1 - w):
        return d
    n = 0
    p = 0
    while True:
        prev = n
        l = fortran_nint(math.log10(abs(x) + 0.5 * 10.0 ** (-p)) + 0.5)
        n = min(w - g - 1, max(d, s - l))
        if n == d and d != 0:
            n = min(d, max(w - (g + 1 + l), 0))
        if n == prev:
            return n
        p = n


def numsigfig(x):
    if x < 100.0:
        return 4
    if x < 1000.0:
        return 3
    if x < 10000.0:
        return 2
    return 1


def letter(n):
    return chr(ord("A") + (n - 1) % 26)


def two_digit_words(n):
    """A reach or translation number as two 4-character words: tens digit, units digit."""
    return "%d   %d   " % (n // 10 % 10, n % 10)


# ---------------------------------------------------------------------------
# Reach storage routing
# ---------------------------------------------------------------------------

NEAR_ZERO = 1.0e-30
ITER_LIMIT = 50


def first_changing(inflow):
    """Position (0-based) of the first ordinate differing from the first; at least 1."""
    nt = len(inflow)
    for i in range(1, nt):
        if abs(inflow[i] - inflow[0]) > NEAR_ZERO:
            return i
    return max(nt - 1, 1)


def route_linear(inflow, k, dt_h):
    """Linear reservoir S = 3600 k Q in closed form (trapezoidal step)."""
    out = list(inflow)
    i0 = first_changing(inflow)
    c1 = dt_h / (2.0 * k + dt_h)
    c2 = (2.0 * k - dt_h) / (2.0 * k + dt_h)
    prev = inflow[i0 - 1]
    for i in range(i0, len(inflow)):
        o = c2 * prev + c1 * (inflow[i] + inflow[i - 1])
        o = max(o, 0.0)
        out[i] = o
        prev = o
    return out


def _storage(q, k, m):
    return 3600.0 * k * q ** m


def _discharge(s, k, m):
    return (s / (3600.0 * k)) ** (1.0 / m)


def power_law(k, m):
    """S = 3600 k Q^m as the secant search sees it: S(Q), (S, Q(S)) and no top discharge."""
    return {"storage": lambda q: _storage(q, k, m),
            "discharge": lambda s: (max(s, 0.0), _discharge(max(s, 0.0), k, m)),
            "top": None, "floor_storage": 0.0}


def _same_sign(a, b):
    return (a > 0 and b > 0) or (a < 0 and b < 0)


def _secant_step(o1, s1, rhs, i_end, rel, dt, tol):
    """The implicit step solved as the documented secant search; returns (O, S, converged)."""

    def f(o, s):
        return s / dt + 0.5 * o - rhs

    oa, sa = o1, s1
    fa = f(oa, sa)
    ot = 0.5 * (i_end + o1)
    if rel["top"] is not None:
        ot = min(ot, rel["top"])
    on_discharge = True
    iterations = 0
    need_move = True
    st = ft = 0.0
    while True:
        if need_move:
            if abs(ot - oa) < NEAR_ZERO:
                ot += 0.9 * tol
            st = rel["storage"](ot)
            ft = f(ot, st)
        if abs(ft - fa) < NEAR_ZERO:
            on = 0.0
            sn = rel["storage"](on)
        elif on_discharge:
            on = max(ot - (ot - oa) * ft / (ft - fa), 0.0)
            sn = rel["storage"](on)
        else:
            sn, on = rel["discharge"](st - (st - sa) * ft / (ft - fa))
        on_discharge = not on_discharge
        fn = f(on, sn)
        if abs(abs(fn) - tol) < TOL_MARGIN * tol:
            NEAR_TIES.append(("secant residual at the tolerance", fn, tol))
        if abs(fn) < tol:
            return on, sn, True
        iterations += 1
        if iterations >= ITER_LIMIT:
            o = 0.5 * (ot + on)
            return o, rel["storage"](o), False
        if not _same_sign(ft, fa) and (ft != 0.0 and fa != 0.0):
            if _same_sign(fn, fa) or fn == 0.0:
                oa, sa, fa = ot, st, ft
        elif abs(ft) < abs(fa):
            oa, sa, fa = ot, st, ft
        ot, st, ft = on, sn, fn
        need_move = abs(ot - oa) < NEAR_ZERO


def _exact_step(o1, s1, rhs, k, m, dt):
    """The same implicit step solved to machine precision by bisection (a check only)."""

    def f(o):
        return _storage(o, k, m) / dt + 0.5 * o - rhs

    lo, hi = 0.0, max(1.0, 4.0 * (rhs + o1))
    while f(hi) < 0:
        hi *= 2.0
    for _ in range(200):
        mid = 0.5 * (lo + hi)
        if f(mid) < 0:
            lo = mid
        else:
            hi = mid
    return 0.5 * (lo + hi)


# A residual this close to the tolerance could be judged either way in single precision,
# and one more secant point moves the outflow by up to the tolerance: such a job is refused.
TOL_MARGIN = 0.01
MAX_EXACT_GAP = [0.0]  # largest |secant - exact| outflow seen over all steps, for the record


def route_nonlinear(inflow, k, m, dt_h):
    """Power-law reach S = 3600 k Q^m: one implicit step per increment, secant search."""
    dt = 3600.0 * dt_h
    out = list(inflow)
    i0 = first_changing(inflow)
    qmax = max(inflow[i0:]) if i0 < len(inflow) else inflow[-1]
    tol = max(0.001 * qmax, 1.0e-8)
    o1 = inflow[0]
    s1 = _storage(o1, k, m)
    for i in range(i0, len(inflow)):
        i_prev, i_end = inflow[i - 1], inflow[i]
        rhs = max(0.5 * (i_prev + i_end - o1) + s1 / dt, 0.0)
        exact = _exact_step(o1, s1, rhs, k, m, dt)
        o1, s1, converged = _secant_step(o1, s1, rhs, i_end, power_law(k, m), dt, tol)
        if not converged:
            raise ValueError("secant search did not converge at increment %d" % (i - 1))
        MAX_EXACT_GAP[0] = max(MAX_EXACT_GAP[0], abs(o1 - exact))
        out[i] = o1
    return out


# ---------------------------------------------------------------------------
# Special storages
# ---------------------------------------------------------------------------

REFINE_LIMIT = 0.003  # a sub-step is halved only while it is at least this share of the increment


def interp(xs, ys, x):
    """Piecewise-linear look-up: below the table the first value, above it None (the table is
    exceeded). The arguments are strictly increasing, so the search position cannot matter."""
    if x < xs[0]:
        return ys[0]
    if x > xs[-1]:
        return None
    for p in range(len(xs) - 1):
        if x <= xs[p + 1]:
            if x == xs[p + 1]:
                return ys[p + 1]
            return ys[p] + (ys[p + 1] - ys[p]) * (x - xs[p]) / (xs[p + 1] - xs[p])
    return ys[-1]


def _looked_up(xs, ys, x, what):
    y = interp(xs, ys, x)
    if y is None:
        raise ValueError("%s %r beyond the table: extend it" % (what, x))
    return y


def table_relation(storages, discharges):
    """A storage-discharge table as the secant search sees it; its top is the last discharge.

    Both columns strictly increase, so the accuracy check's two look-ups of the mid-point
    storage (searching up and searching down) agree and the check is never skipped.
    """
    if any(b <= a for a, b in zip(storages, storages[1:])) or \
            any(b <= a for a, b in zip(discharges, discharges[1:])):
        raise ValueError("a storage-discharge table must strictly increase in both columns")
    return {"storage": lambda q: _looked_up(discharges, storages, q, "discharge"),
            "discharge": lambda s: (s, _looked_up(storages, discharges, s, "storage")),
            "top": discharges[-1], "floor_storage": storages[0]}


def fill_drawdown(inflow, drawdown, dt_h):
    """The inflow less what fills the drawdown, and the drawdown left unfilled (0 once filled)."""
    dts = 3600.0 * dt_h
    out = list(inflow)
    if drawdown <= NEAR_ZERO:
        return out, 0.0
    total = 0.0
    for t, q in enumerate(inflow):
        total += dts * q
        if abs(total - drawdown) < TIE_REL * drawdown:
            NEAR_TIES.append(("drawdown filled exactly at an ordinate", total, drawdown))
        if total < drawdown:
            out[t] = 0.0
        else:
            out[t] = (total - drawdown) / dts
            return out, 0.0
    return out, drawdown - total


def route_special_linear(inflow, ks, dt_h):
    """A power-law storage with ms = 1: the closed-form step; (outflow, peak outflow, peak storage)."""
    out = route_linear(inflow, ks, dt_h)
    peak = max([0.0] + out[first_changing(inflow):])
    return out, peak, 3600.0 * ks * peak


def _half_step_residual(rel, o1, s1, o_new, i_prev, i_end, dt):
    """Continuity over the first half of a sub-step, at the mid-point outflow."""
    o_mid = 0.5 * (o_new + o1)
    s_mid = rel["storage"](o_mid)
    i_mid = 0.5 * (i_prev + i_end)
    return abs(2.0 * (s_mid - s1) / dt - 0.5 * (i_prev + i_mid) + 0.5 * (o1 + o_mid))


def route_special(inflow, rel, dt_h):
    """A special storage solved by the implicit step with the secant search, each increment
    halved into sub-steps while the step is not accurate enough; (outflow, peaks, halvings)."""
    dts = 3600.0 * dt_h
    out = list(inflow)
    i0 = first_changing(inflow)
    qmax = max(inflow[i0:]) if i0 < len(inflow) else inflow[-1]
    tol = max(0.001 * qmax, 1.0e-8)
    o1 = inflow[0]
    s1 = rel["storage"](o1)
    floor = rel["floor_storage"] / dts
    peak_o = peak_s = 0.0
    finest = 1
    for i in range(i0, len(inflow)):
        i_prev, i_next = inflow[i - 1], inflow[i]
        n, dt = 1, dts
        while n > 0:
            i_end = i_prev + (i_next - i_prev) / n
            rhs = max(0.5 * (i_prev + i_end - o1) + s1 / dt, floor)
            o_new, s_new, converged = _secant_step(o1, s1, rhs, i_end, rel, dt, tol)
            if not converged:
                raise ValueError("secant search did not converge at increment %d" % (i - 1))
            change = abs(o_new - o1)
            r = _half_step_residual(rel, o1, s1, o_new, i_prev, i_end, dt)
            # The threshold on the change only matters where the residual would halve the step.
            if abs(change - 10.0 * tol) < TOL_MARGIN * tol and r >= (1.0 - TOL_MARGIN) * tol:
                NEAR_TIES.append(("outflow change at the accuracy-check threshold", change, tol))
            if change >= 10.0 * tol:
                if abs(r - tol) < TOL_MARGIN * tol:
                    NEAR_TIES.append(("half-step residual at the tolerance", r, tol))
                if r >= tol and dt / dts >= REFINE_LIMIT:
                    n, dt = 2 * n, 0.5 * dt
                    finest = max(finest, int(round(dts / dt)))
                    continue
            s1, o1, i_prev = s_new, o_new, i_end
            n -= 1
            while n > 0 and n % 2 == 0:
                n, dt = n // 2, 2.0 * dt
        peak_o, peak_s = max(peak_o, o1), max(peak_s, s1)
        out[i] = o1
    return out, peak_o, peak_s, finest


def storage_results(lines, name, st, peak_o, peak_s):
    """The results block of a routed storage (relation types 0 and 1)."""
    head = " Results of routing through special storage " + name.rstrip()
    if st["drel"] == 0:
        head += "  with ks = " + E(st["ks"], 10, 4, "ks") + " & ms =" + F(st["ms"], 6, 2, "ms")
    lines.append(head)
    erel = st["erel"]
    if erel == 1:
        level = interp(st["level_storages"], st["levels"], peak_s)
        if level is None:
            lines.append("  Peak elevation exceeds max. of elev.-stor. table," + F(st["levels"][-1], 7, 2))
        else:
            lines.append("  Peak elevation= " + F(level, 7, 2, "peak elevation") + " m")
    elif erel == 2:
        a, b, h0 = st["power"]
        lines.append("  Peak elevation= " + F((peak_s / a) ** (1.0 / b) + h0, 7, 2, "peak elevation") + " m")
    lines.append("  Peak outflow = " + F(peak_o, 8, 2, "peak outflow") + " m" + LATIN1_CUBED + "/s")
    lines.append("  Peak storage = " + E(peak_s, 12, 2, "peak storage") + " m" + LATIN1_CUBED)


def special_storage(lines, records, code, st, q, cen, dt_h):
    """One special storage without gates at a code value from 6 to 16: returns its outflow
    and writes its reports.

    st: name, start (0 or a drawdown below 0), drel 0 (ks, ms) or 1 (storages, discharges,
    both strictly increasing), erel 0, 1 (levels, level_storages) or 2 (power: a, b, h0).
    """
    name = st["name"]
    if st["start"] > NEAR_ZERO:
        raise NotImplementedError("a starting water level is not worked out here")
    inflow = list(q)
    filled, unfilled = fill_drawdown(q, -st["start"] if st["start"] < -NEAR_ZERO else 0.0, dt_h)
    if unfilled > 0.0:
        lines.append(">>> Drawdown of special storage " + name.rstrip() + " not filled.")
        lines.append(" current drawdown= " + F(unfilled, 14, 0, "drawdown left") + " m" + LATIN1_CUBED)
        out = [0.0] * len(q)
    else:
        if st["drel"] == 0 and abs(st["ms"] - 1.0) <= NEAR_ZERO:
            out, peak_o, peak_s = route_special_linear(filled, st["ks"], dt_h)
        else:
            rel = (power_law(st["ks"], st["ms"]) if st["drel"] == 0
                   else table_relation(st["storages"], st["discharges"]))
            out, peak_o, peak_s, finest = route_special(filled, rel, dt_h)
            SUB_STEPS[name.rstrip()] = finest
        if code >= 6.05:
            storage_results(lines, name, st, peak_o, peak_s)
    if code >= 10:
        title = "Special storage :".ljust(32) + name.ljust(28)
        report(lines, 6, title, [out, inflow], cen, dt_h)
        records.append((title, [("Outflow", out), ("Inflow", inflow)]))
    return out


SUB_STEPS = {}  # finest sub-division of an increment reached per iterated storage, for the record


# ---------------------------------------------------------------------------
# Losses
# ---------------------------------------------------------------------------

CIMP = 0.9


def burst_excess(rain, il, param, fi, dt_h, constant_loss):
    """Rainfall-excess (mm per increment) of one sub-area in one burst.

    rain: the sub-area's rainfall per increment; il: initial loss; param: continuing loss
    rate (mm/h) or runoff coefficient; fi: fraction impervious.
    """
    pb = sum(rain)
    il_used = il
    while True:
        rem = (1.0 - fi) * il_used
        e = []
        satisfied = False
        for r in rain:
            if satisfied:
                e.append(r)
                continue
            rem -= r
            if rem < 0:
                e.append(-rem)
                satisfied = True
            else:
                e.append(0.0)
        if pb < il_used and abs(fi) >= NEAR_ZERO:
            il_used = pb
            continue
        break
    if constant_loss:
        x = param * dt_h * (1.0 - fi)
        return [max(v - x, 0.0) for v in e]
    x = param if param >= CIMP else param + fi * (CIMP - param)
    return [max(x * v, 0.0) for v in e]


# ---------------------------------------------------------------------------
# Hydrograph statistics and the hydrograph report
# ---------------------------------------------------------------------------

LATIN1_CUBED = "\u00b3"


def stats(q, dt_h, tx):
    """Peak, time to peak, volume, time to centroid, the two lags."""
    dts = 3600.0 * dt_h
    qp, jp = 0.0, None
    for j, v in enumerate(q):
        if v > qp:
            qp, jp = v, j
    tp = jp * dt_h if jp is not None else tx
    vol = sum(v * dts for v in q)
    if vol != 0.0:
        tc = sum(j * v * dts for j, v in enumerate(q)) / vol * dt_h
    else:
        tc = tx
    return {"peak": qp, "tp": tp, "vol": vol, "tc": tc, "lagc": tc - tx, "lagp": tp - tx}


PRINT_LABELS = {
    2: ("  Calc. ", "        "),
    3: ("Upstr'm ", "Subarea "),
    4: ("This Br.", "Prev.br."),
    5: ("Downstr.", "Upstream"),
    6: ("Outflow ", " Inflow "),
}


def _time_line(prefix, values, what):
    d = ndecpl(max(values), 9, 3, 0)
    return prefix + "".join(F(v, 9, d, what) for v in values)


def report(lines, kind, title, hyds, tx, dt_h):
    """One call of the hydrograph report (kinds 2 to 9: calculated, or a pair)."""
    lines += ["", "", "", " *** " + title.rstrip(), ""]
    lab1, lab2 = PRINT_LABELS[kind]
    lines.append(" " * 27 + "Hydrograph")
    lines.append(" " * 24 + lab1 + " " + lab2)
    st = [stats(h, dt_h, tx) for h in hyds]
    peaks = [s["peak"] for s in st]
    dp = ndecpl(max(peaks), 9, 4, 0)
    lines.append(" Peak discharge,m" + LATIN1_CUBED + "/s " + "".join(F(p, 9, dp, "peak") for p in peaks))
    lines.append(_time_line(" Time to peak,h" + " " * 6, [s["tp"] for s in st], "tp"))
    lines.append(" Volume,m" + LATIN1_CUBED + " " + " " * 10 + "".join(E1P(s["vol"]) for s in st))
    if kind != 2 or abs(st[0]["vol"]) >= NEAR_ZERO:
        lines.append(_time_line(" Time to centroid,h  ", [s["tc"] for s in st], "tc"))
        lines.append(_time_line(" Lag (c.m. to c.m.),h", [s["lagc"] for s in st], "lagc"))
        lines.append(_time_line(" Lag to peak,h" + " " * 7, [s["lagp"] for s in st], "lagp"))
    return st


# ---------------------------------------------------------------------------
# Hyetograph print (one interstation area)
# ---------------------------------------------------------------------------


def hyetograph(lines, mode, burst, n_bursts, start_time, catch_series, catch_total,
               subareas, sub_series, sub_depths, pluvio_refs, long_form):
    """Rainfall (mode 1) or rainfall-excess (mode 2) print of one burst, one ISA."""
    lines += ["", "", ""]
    what = "Rainfall" if mode == 1 else "Rainfall-excess"
    title = " " + what + ", mm, in time inc. following time shown"
    if n_bursts > 1:
        title += ", burst " + I(burst, 2)
    lines.append(title)

    def rounded(v):
        # A depth that lands exactly on a half comes from exact operands (25 x 14 / 28) and
        # is exact in single precision too, so INT(depth + 0.5) rounds it up without doubt.
        if v * 2.0 != math.floor(v * 2.0) or v == math.floor(v):
            _check_tie(v, 0, "hyeto depth")
        return int(v + 0.5)

    if not long_form:
        lines += [" Time", "         Catch", " incs    ment", ""]
        for t, v in enumerate(catch_series):
            lines.append(" " + I(start_time + t, 6) + F(v, 6, 1, "hyeto"))
        lines += ["", " Tot." + F(catch_total, 5, 1, "hyeto tot")]
        return
    for b0 in range(0, len(subareas), 16):
        block = subareas[b0:b0 + 16]
        lines.append(" Time" + " " * 18 + "Sub-")
        lines.append("         Catch" + " " * 9 + "Area")
        lines.append(" Incs " + "   ment" + " " * 7 + "".join("   " + letter(n) + " " for n in block))
        lines.append("")
        for t, v in enumerate(catch_series):
            lines.append(" " + I(start_time + t, 6) + F(v, 6, 1, "hyeto") + " " * 7 +
                         "".join(I(rounded(sub_series[n][t]), 5) for n in block))
        lines.append("")
        lines.append("  Tot." + F(catch_total, 7, 1, "hyeto tot") + " " * 7 +
                     "".join(I(rounded(sub_depths[n]), 5) for n in block))
        if mode == 1:
            lines.append(" Pluvi. ref. no.    " + "".join(I(pluvio_refs[n], 5) for n in block))
        lines.append("")


# ---------------------------------------------------------------------------
# Parameter summary and the hydrograph table
# ---------------------------------------------------------------------------


def parameter_summary(lines, kc, m, constant_loss, losses):
    """Single parameter set, one interstation area; losses: [(IL, param)] per burst."""
    lines += ["", " Parameters:  kc = " + F(kc, 8, 2) + "    m = " + F(m, 4, 2), ""]
    if constant_loss:
        lines.append(" Loss parameters     Initial loss (mm)   Cont. loss (mm/h)")
    else:
        lines.append(" Loss parameters     Initial loss (mm)     Runoff coeff.")
    for b, (il, c) in enumerate(losses, start=1):
        line = " " * 24 + F(il, 8, 2) + F(c, 18, 2)
        if len(losses) > 1:
            line += "  (Burst" + I(b, 3) + ")"
        lines.append(line)


def hydrograph_table(lines, records, dt_h):
    """records: (title, [(label or None, ordinates)]) in print order."""
    lines += ["", "", " Hydrograph summary", " ******************", "", " Site  Description"]
    columns = []
    for title, hyds in records:
        for label, q in hyds:
            desc = title.rstrip() if label is None else title.rstrip() + " - " + label
            columns.append((desc, q))
    for n, (desc, _) in enumerate(columns, start=1):
        lines.append(" " + I(n, 4, 2) + "  " + desc)
    rows = max(len(q) for _, q in records[0][1])
    for b0 in range(0, len(columns), 50):
        block = columns[b0:b0 + 50]
        lines.append("")
        lines.append("    Inc    Time" + "".join("    Hyd" + I(b0 + c + 1, 3, 3) for c in range(len(block))))
        for r in range(rows):
            line = " " + I(r + 1, 6) + F(r * dt_h, 8, 2)
            for _, q in block:
                line += F(q[r], 10, numsigfig(max(q)), "table")
            lines.append(line + " ")


# ---------------------------------------------------------------------------
# The job as a whole
# ---------------------------------------------------------------------------

PRINT_TEXTS = {1: "Flows only            ", 2: "Flows & rainfall only ", 3: "Flows & all input data"}


def banner_and_files(lines, catchment_file, storm_file, print_option):
    lines += [" KOVAWin Output File", " *******************", " ",
              " Program version v6.52 Kelv (last updated 4th April 2024)", " ",
              " Date run: dd Mon yyyy hh:mm", "",
              " Vector file       : " + catchment_file,
              " Storm file        : " + storm_file,
              " Output information: " + PRINT_TEXTS[print_option]]


def write(path, lines):
    if NEAR_TIES:
        raise SystemExit("values too near a rounding boundary: %r" % NEAR_TIES[:10])
    with open(path, "w", encoding="latin-1", newline="\n") as out:
        for line in lines:
            out.write(line + "\n")


def run_design_job(job):
    """A DESIGN run on one interstation area ended by the outlet (no gauging station).

    job: dict with catchment/storm file names and titles, print option, loss model, kc, m,
    losses per burst, dt_h, n_incs, bursts [(start, finish)], pluvio (joined series),
    the areal-rainfall and impervious flags, sub-area areas, fractions impervious, burst
    depths per sub-area (None: the pluviograph burst totals), reaches [(type, length, slope)] in control-vector order, and vector: a
    list of (code value, argument) with the location name as the argument of a code 7, and
    storages: the special storages in control-vector order (see special_storage).
    """
    lines = []
    banner_and_files(lines, job["catchment_file"], job["storm_file"], job["print_option"])
    lines += ["", " Data check completed"]
    dt_h = job["dt_h"]
    nt = job["n_incs"] + 1
    areas = job["areas"]
    fis = job["fracs"]
    n_sub = len(areas)
    bursts = job["bursts"]
    constant_loss = job["loss_model"] == 1

    # Burst positions in the joined series.
    positions = []
    last = 0
    for s, f in bursts:
        positions.append((last, last + (f - s)))
        last += f - s
    pluvio = job["pluvio"]
    totals = [sum(pluvio[a:b]) for a, b in positions]

    # Flow distances: every reach below a sub-area's inflow point on its way to the outlet.
    # Walk the vector with a stack of open branches; a sub-area gains the lengths of the
    # reaches routed on its own branch and, after the branch is added back, below it.
    dist = [0.0] * n_sub
    on_branch = [[]]
    sub = 0
    reach = 0
    rel_delay = []
    for code, _ in job["vector"]:
        base = int(code - 10 * int(code / 10) + 0.05)
        if base in (1, 2):
            on_branch[-1].append(sub)
            sub += 1
        if base in (1, 2, 5):
            rtype, length, slope = job["reaches"][reach]
            for s in on_branch[-1]:
                dist[s] += length
            if rtype == 1:
                rel_delay.append(length)
            elif rtype == 2:
                rel_delay.append(length / 3.0 / min(max(slope, 0.05), 5.0) ** 0.25)
            elif rtype == 3:
                rel_delay.append(length / 9.0 / min(max(slope, 0.05), 5.0) ** 0.5)
            else:
                rel_delay.append(0.0)
            reach += 1
        elif base == 3:
            on_branch.append([])
        elif base == 4:
            joined = on_branch.pop()
            on_branch[-1] += joined
    total_area = sum(areas)
    d_av = sum(a * d for a, d in zip(areas, dist)) / total_area
    kr = [r / d_av for r in rel_delay]

    # Run header and losses.
    lines += ["", "", " Input of parameters:", " " + "*" * 20, "",
              " " + job["title"], " DESIGN Run", " " + job["storm_title"],
              " Time increment =" + F(dt_h, 5, 2) + " hours", ""]
    lines.append(" Constant loss model selected" if constant_loss else
                 " Runoff coefficient loss model selected")
    inflow = [[0.0] * nt for _ in range(n_sub)]
    depths = job.get("depths")
    for b, ((start, _), (a, e)) in enumerate(zip(bursts, positions)):
        il, param = job["losses"][b]
        rain = []
        for n in range(n_sub):
            depth = totals[b] if depths is None else depths[b][n]
            rain.append([depth * p / totals[b] for p in pluvio[a:e]] if abs(depth) >= NEAR_ZERO
                        else [0.0] * (e - a))
        catch = [sum(areas[n] * rain[n][t] for n in range(n_sub)) / total_area for t in range(e - a)]
        long_form = job["areal_flag"] == 1 or job["imperv_flag"] == 1
        if job["print_option"] >= 2:
            hyetograph(lines, 1, b + 1, len(bursts), start, catch, sum(catch), list(range(1, n_sub + 1)),
                       {n + 1: rain[n] for n in range(n_sub)},
                       {n + 1: sum(rain[n]) for n in range(n_sub)}, {n + 1: 1 for n in range(n_sub)},
                       long_form)
        if len(bursts) > 1:
            lines.append(" Burst no. " + I(b + 1, 2))
        excess = [burst_excess(rain[n], il, param, fis[n], dt_h, constant_loss) for n in range(n_sub)]
        catch_x = [sum(areas[n] * excess[n][t] for n in range(n_sub)) / total_area for t in range(e - a)]
        if job["print_option"] >= 2:
            hyetograph(lines, 2, b + 1, len(bursts), start, catch_x, sum(catch_x), list(range(1, n_sub + 1)),
                       {n + 1: excess[n] for n in range(n_sub)},
                       {n + 1: sum(excess[n]) for n in range(n_sub)}, None, long_form)
        for n in range(n_sub):
            for kk, x in enumerate(excess[n]):
                t = start + 1 + kk  # ordinate (start + 2 + k - first), counted here from 0
                if t < nt:
                    inflow[n][t] = x * 1000.0 * areas[n] / (3600.0 * dt_h)

    lines += ["", "", " Routing results:", " " + "*" * 16, " " + job["title"], " " + job["storm_title"],
              " DESIGN run no. " + I(1, 2), ""]
    kc, m = job["kc"], job["m"]
    parameter_summary(lines, kc, m, constant_loss, job["losses"])

    # The walk.
    q = [0.0] * nt
    vol, cen = 0.0, 0.0
    stack = []
    records = []
    sub = reach = storage = 0
    dts = 3600.0 * dt_h
    for code, arg in job["vector"]:
        base = int(code - 10 * int(code / 10) + 0.05)
        if base in (1, 2):
            add = inflow[sub]
            se = sum(add)
            moment = sum((t + 1 - 1.5) * v for t, v in enumerate(add))
            q = [a + b for a, b in zip(q, add)]
            vol += se * dts
            if abs(vol) > NEAR_ZERO:
                cen = (moment * dts * dt_h + (vol - se * dts) * cen) / vol
            if code >= 10:
                raise NotImplementedError("sub-area inflow prints are not used by these jobs")
            sub += 1
        if base in (1, 2, 5):
            upstream = list(q)
            k = kc * kr[reach]
            if kr[reach] > NEAR_ZERO:
                q = route_linear(q, k, dt_h) if abs(m - 1.0) <= NEAR_ZERO else route_nonlinear(q, k, m, dt_h)
            reach += 1
            if code >= 10.5:
                title = "Normal storage, reach no.".ljust(32) + two_digit_words(reach)
                report(lines, 5, title, [q, upstream], cen, dt_h)
                records.append((title, [("Downstream", q), ("Upstream", upstream)]))
        elif base == 3:
            stack.append((q, vol, cen))
            q, vol, cen = [0.0] * nt, 0.0, 0.0
        elif base == 4:
            stored, vs, ts = stack.pop()
            vol += vs
            if abs(vol) > NEAR_ZERO:
                cen = (vs * ts + (vol - vs) * cen) / vol
            if code >= 10:
                title = "Confluence at d/s end of reach  " + two_digit_words(reach)
                report(lines, 4, title, [q, stored], cen, dt_h)
                records.append((title, [("This Branch", q), ("Prev. Branch", stored)]))
            q = [a + b for a, b in zip(q, stored)]
        elif base == 6:
            q = special_storage(lines, records, code, job["storages"][storage], q, cen, dt_h)
            storage += 1
        elif base == 7:
            title = "Calculated hydrograph,".ljust(32) + arg.ljust(28)
            report(lines, 2, title, [q], cen, dt_h)
            records.append((title, [(None, q)]))
        elif base == 0:
            break
    hydrograph_table(lines, records, dt_h)
    return lines
