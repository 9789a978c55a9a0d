#!/usr/bin/env python3
"""Gathers the corpus run's per-plug-in JSON into report.json and report.md:
plug-ins failed, warned and noted per check, one row per plug-in, one column
per check, the failures sorted by the LV2 rule their line quotes, then every
failure (with a command that shows it), every warning line and what the
notes name most."""
import json
import os
import re
import sys

out, seconds = sys.argv[1], int(sys.argv[2])
gui_seconds = int(sys.argv[3]) if len(sys.argv) > 3 else -1


def load(path):
    text = open(path).read()
    return json.loads(text[text.index("\n{") + 1:] if not text.startswith("{") else text)


def state_of(c):
    return {"passed": "pass", "skipped": "skip", "warned": "warn", "noted": "note", "failed": "fail"}.get(
        c.get("status"), "skip" if c["skipped"] else "pass" if c["passed"] else "fail")


def rule_of(message):
    """The LV2 text a failure line quotes (the first long quotation), or what
    kind of failure it is when it quotes none."""
    quotes = [q for q in re.findall(r'"([^"]*)"', message) if len(q) >= 25]
    if quotes:
        return quotes[0]
    if message.startswith(("crashed", "timed out")):
        return "(no quotation: a crash or hang on calls the LV2 text allows)"
    return "(no quotation)"
runs = os.path.join(out, "runs")
plugins, checks = [], []
for name in sorted((f for f in os.listdir(runs) if f.endswith(".uri")), key=lambda f: int(f[:-4])):
    n = name[:-4]
    uri = open(os.path.join(runs, name)).read().strip()
    row = {"uri": uri, "checks": {}, "tool_error": None}
    try:
        doc = load(os.path.join(runs, n + ".json"))
        gui = {}
        if os.path.exists(os.path.join(runs, n + ".gui.json")):
            try:
                gui = {c["name"]: c for c in load(os.path.join(runs, n + ".gui.json"))["runs"][0]["checks"]}
            except (OSError, ValueError, KeyError, IndexError):
                err = open(os.path.join(runs, n + ".gui.err")).read().strip()
                gui = {"lv2-ui-x11": {"status": "failed", "skipped": False, "passed": False, "seconds": 0,
                                      "message": "no report from the UI pass: " +
                                      (err.splitlines()[-1] if err else "none")}}
        for c in doc["runs"][0]["checks"]:
            c = gui.get(c["name"], c)
            if c["name"] not in checks:
                checks.append(c["name"])
            row["checks"][c["name"]] = {"state": state_of(c), "message": c["message"],
                                        "seconds": round(c["seconds"], 3)}
    except (OSError, ValueError, KeyError, IndexError):
        err = open(os.path.join(runs, n + ".err")).read().strip()
        row["tool_error"] = err.splitlines()[-1] if err else "no report"
    plugins.append(row)

failed = {c: 0 for c in checks}
warned = {c: 0 for c in checks}
noted = {c: 0 for c in checks}
skipped = {}
passed = 0
for p in plugins:
    states = [v["state"] for v in p["checks"].values()]
    if p["tool_error"] is None and "fail" not in states:
        passed += 1
    for c, v in p["checks"].items():
        if v["state"] == "fail":
            failed[c] += 1
        if v["state"] == "warn":
            warned[c] += 1
        if v["state"] == "note":
            noted[c] += 1
        if v["state"] == "skip":
            skipped[v["message"]] = skipped.get(v["message"], 0) + 1
summary = {"plugins": len(plugins), "passed": passed, "failed": len(plugins) - passed,
           "tool_errors": sum(1 for p in plugins if p["tool_error"]),
           "failed_per_check": failed, "warned_per_check": warned, "noted_per_check": noted,
           "warned": sum(1 for p in plugins if any(v["state"] == "warn" for v in p["checks"].values())),
           "noted": sum(1 for p in plugins if any(v["state"] == "note" for v in p["checks"].values())),
           "skipped_per_reason": skipped, "seconds": seconds, "gui_seconds": gui_seconds}
by_rule = {}
for p in plugins:
    for c, v in p["checks"].items():
        if v["state"] == "fail":
            by_rule.setdefault(rule_of(v["message"]), []).append((p["uri"], c))
summary["failed_per_rule"] = {r: len(v) for r, v in by_rule.items()}
# A note line reads "not given: WHAT; WHAT on N ports: ...; ... (why)": how
# many plug-ins lack each WHAT.
by_item = {}
for p in plugins:
    for c, v in p["checks"].items():
        if v["state"] == "note":
            text = re.sub(r" \(no LV2 rule.*$", "", v["message"]).removeprefix("not given: ")
            for item in {re.sub(r" on \d+ ports?:.*| of UI <.*", "", i) for i in text.split("; ")}:
                by_item[(c, item)] = by_item.get((c, item), 0) + 1
summary["noted_per_item"] = {"%s: %s" % k: n for k, n in by_item.items()}
json.dump({"summary": summary, "checks": checks, "plugins": plugins},
          open(os.path.join(out, "report.json"), "w"), indent=1)

mark = {"pass": "ok", "fail": "FAIL", "warn": "warn", "note": "note", "skip": "-"}
with open(os.path.join(out, "report.md"), "w") as md:
    md.write("# LV2 corpus: aaxhost validate\n\n")
    md.write("%d plug-ins, %d passed (%d of them with warnings, %d with notes), %d failed, %d without a report; %d s\n\n" % (
        len(plugins), passed, summary["warned"], summary["noted"], len(plugins) - passed, summary["tool_errors"],
        seconds))
    if gui_seconds >= 0:
        md.write("The X11 UI check ran alone on each plug-in afterwards: %d s.\n\n" % gui_seconds)
    md.write("Plug-ins per check:\n\n| check | failed | warned | noted |\n|---|---|---|---|\n")
    for c in checks:
        md.write("| %s | %d | %d | %d |\n" % (c, failed[c], warned[c], noted[c]))
    md.write("\n| skipped because | plug-ins |\n|---|---|\n")
    for r, k in sorted(skipped.items(), key=lambda x: -x[1]):
        md.write("| %s | %d |\n" % (r.replace("|", "\\|"), k))
    md.write("\n| plug-in | " + " | ".join(c.replace("lv2-", "") for c in checks) + " |\n")
    md.write("|---|" + "---|" * len(checks) + "\n")
    for p in plugins:
        cells = [mark[p["checks"][c]["state"]] if c in p["checks"] else "?" for c in checks]
        md.write("| %s | %s |\n" % (p["uri"], " | ".join(cells)))
    md.write("\n## Failures by the rule they quote\n\n| rule | failures | checks | first plug-ins |\n|---|---|---|---|\n")
    for r, hits in sorted(by_rule.items(), key=lambda x: -len(x[1])):
        names = sorted({c for _, c in hits})
        md.write("| %s | %d | %s | %s |\n" % (r.replace("|", "\\|"), len(hits), ", ".join(names),
                                              ", ".join(u for u, _ in hits[:3])))
    md.write("\n## Failing plug-ins\n\nOne line each: the checks that failed, the first failure, and the "
             "command that shows them again.\n\n")
    for p in plugins:
        bad = [c for c, v in p["checks"].items() if v["state"] == "fail"]
        if p["tool_error"]:
            md.write("- %s: no report: %s\n" % (p["uri"], p["tool_error"]))
        elif bad:
            first = p["checks"][bad[0]]["message"]
            md.write("- %s: %s: %s `aaxhost validate '%s' --only %s --seed 1`\n" % (
                p["uri"], ", ".join(bad), first if len(first) <= 160 else first[:157] + "...",
                p["uri"], ",".join(bad)))
    md.write("\n## Failures\n\nEach with the command that shows it again.\n\n")
    for p in plugins:
        if p["tool_error"]:
            md.write("- %s: no report: %s\n" % (p["uri"], p["tool_error"]))
        for c, v in p["checks"].items():
            if v["state"] == "fail":
                md.write("- %s `%s`: %s  \n  `aaxhost validate '%s' --only %s --seed 1`\n" % (
                    p["uri"], c, v["message"], p["uri"], c))
    md.write("\n## Warnings (no LV2 rule requires these)\n\n")
    for p in plugins:
        for c, v in p["checks"].items():
            if v["state"] == "warn":
                md.write("- %s `%s`: %s\n" % (p["uri"], c, v["message"]))
    md.write("\n## Notes (what hosts show; no LV2 rule requires it)\n\n"
             "Each plug-in's note line is in report.json.\n\n| check | not given | plug-ins |\n|---|---|---|\n")
    for (c, item), n in sorted(by_item.items(), key=lambda x: -x[1]):
        md.write("| %s | %s | %d |\n" % (c, item.replace("|", "\\|"), n))
print("validate-corpus: %d plug-ins, %d passed (%d with warnings, %d with notes), %d failed in %d s; %s/report.md" % (
    len(plugins), passed, summary["warned"], summary["noted"], len(plugins) - passed, seconds, out))
