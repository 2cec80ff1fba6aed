"""axe-core (npm, installed in web/tests/node_modules by scripts/install-deps.sh)
run inside a page that selenium drives: any browser test can ask what the
page shows now breaks for people who use assistive technology.

    from axe_check import violations, describe
    found = violations(driver)      # [] when axe finds nothing
    print(describe(found))          # each rule broken, with the elements that break it
"""
import os

AXE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "node_modules", "axe-core",
                   "axe.min.js")

# The rules of WCAG 2.x A and AA and axe's best practices; a page's states
# are checked as they are shown, so hidden parts are not judged.
RUN = """
const done = arguments[arguments.length - 1];
axe.run(document, {resultTypes: ['violations'],
                   runOnly: {type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa',
                                                   'wcag22aa', 'best-practice']}})
  .then((r) => done(r.violations.map((v) => ({
     id: v.id, impact: v.impact, help: v.help,
     nodes: v.nodes.map((n) => ({target: n.target.join(' '), html: n.html,
                                 summary: n.failureSummary}))}))))
  .catch((e) => done({error: String(e)}));
"""


def installed():
    return os.path.isfile(AXE)


def violations(driver):
    """The violations axe-core finds in the page as it is now: a list of
    {id, impact, help, nodes: [{target, html, summary}]}."""
    if not driver.execute_script("return typeof window.axe === 'object'"):
        with open(AXE, encoding="utf-8") as f:
            driver.execute_script(f.read())
    driver.set_script_timeout(60)
    found = driver.execute_async_script(RUN)
    if isinstance(found, dict):
        raise RuntimeError("axe-core did not run: " + found["error"])
    return found


def describe(found):
    lines = []
    for v in found:
        lines.append(f"{v['id']} ({v['impact']}): {v['help']}")
        for node in v["nodes"]:
            lines.append(f"  {node['target']}: {node['html'][:160]}")
            lines += ["    " + s for s in (node["summary"] or "").splitlines()]
    return "\n".join(lines)
