#!/usr/bin/env python3
"""Checks the fences between Orvane's layers.

- No file of the core includes a Qt header.
- Every project include of a core layer names the layer itself or a layer it links,
  directly or through the layers below (the graph comes from the build: each line of the
  layer file is "layer: linked layers...").
- Every layer includes something of each layer it links directly: links match includes.
- The front ends (src/app, src/cli) never cast the session's const view away.

Usage: check_layers.py SRC_DIR LAYER_FILE
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
QT_HEADER = re.compile(r"^Q[A-Za-z]*(/|$)|^qt", re.IGNORECASE)


def read_graph(path):
    graph = {}
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            if ":" in line:
                layer, links = line.split(":", 1)
                graph[layer.strip()] = links.split()
    return graph


def reachable(graph, layer):
    seen, todo = set(), list(graph[layer])
    while todo:
        below = todo.pop()
        if below not in seen:
            seen.add(below)
            todo.extend(graph.get(below, []))
    return seen


def sources(folder):
    for name in sorted(os.listdir(folder)):
        if name.endswith((".h", ".cpp")):
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8") as text:
                yield path, text.read()


def main(src, layer_file):
    graph = read_graph(layer_file)
    problems = []
    for layer in sorted(graph):
        allowed = reachable(graph, layer) | {layer}
        used = set()
        for path, text in sources(os.path.join(src, layer)):
            for kind, header in INCLUDE.findall(text):
                if kind == "<" and QT_HEADER.match(header):
                    problems.append(f"{path}: includes the Qt header <{header}>")
                if kind == '"' and "/" in header:
                    folder = header.split("/", 1)[0]
                    if folder in graph:
                        used.add(folder)
                        if folder not in allowed:
                            problems.append(f"{path}: includes \"{header}\", but {layer} "
                                            f"does not link {folder}")
        for linked in graph[layer]:
            if linked not in used:
                problems.append(f"src/{layer}: links {linked} but includes nothing of it")
    for front_end in ("app", "cli"):
        for path, text in sources(os.path.join(src, front_end)):
            if "const_cast" in text:
                problems.append(f"{path}: casts const away; front ends change the run's "
                                "state only through the session's commands")
    for problem in problems:
        print(problem)
    print(f"{len(graph)} core layers checked, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
