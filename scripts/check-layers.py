#!/usr/bin/env python3
"""Checks that the source tree keeps its layers.

Every folder under src/core and src/gui is one library, declared in its
CMakeLists.txt with tovarin_add_library(NAME ... DEPENDS ...). This script
reads those declarations and fails when
  - the declared dependencies form a cycle, or a core library depends on a
    window library;
  - a file includes a header of a folder its own folder does not depend on
    (tests/<layer>/<folder> counts as src/<layer>/<folder>);
  - a core, command-line or test-support file includes a Qt header;
  - a core file other than a platform unit of the base (src/core/base/
    <Name>Posix.* or <Name>Windows.*) includes a header beyond the C++
    standard library and the header-only libraries every system has
    (nlohmann-json);
  - a source file sits in a folder that declares no library.

Usage: check-layers.py [ROOT]   (ROOT: the project folder, default: this one's parent)
"""
import pathlib
import re
import sys

DECLARATION = re.compile(r"tovarin_add_library\(\s*(\w+)(.*?)\)", re.S)
INCLUDE = re.compile(r'^[ \t]*#[ \t]*include\s*([<"])([^">]+)[">]', re.M)
QT_HEADER = re.compile(r"^(Q[A-Za-z]+|Qt[A-Za-z]*/.*)$")
SOURCE_SUFFIXES = {".cpp", ".h"}
PLATFORM_UNIT = re.compile(r"^src/core/base/\w+(Posix|Windows)\.(cpp|h)$")
# The C++20 standard library, the C library's headers in their C++ names
# among it; the operating system's headers are for the platform units.
STANDARD_HEADERS = set("""
algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv chrono
cinttypes climits clocale cmath codecvt compare complex concepts condition_variable coroutine
csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype deque
exception execution filesystem format forward_list fstream functional future initializer_list
iomanip ios iosfwd iostream istream iterator latch limits list locale map memory memory_resource
mutex new numbers numeric optional ostream queue random ranges ratio regex scoped_allocator
semaphore set shared_mutex source_location span sstream stack stdexcept stop_token streambuf
string string_view syncstream system_error thread tuple type_traits typeindex typeinfo
unordered_map unordered_set utility valarray variant vector version
""".split())
# Header-only libraries: the same code on every system, no call into one.
LIBRARY_HEADERS = {"nlohmann/json.hpp", "nlohmann/json_fwd.hpp"}


def read_libraries(root):
    """Folder (like 'core/base') -> (library name, names it depends on)."""
    folders = {}
    for layer in ("core", "gui"):
        for cmake in sorted((root / "src" / layer).glob("*/CMakeLists.txt")):
            match = DECLARATION.search(cmake.read_text(encoding="utf-8"))
            if not match:
                continue
            words = match.group(2).split()
            depends = []
            if "DEPENDS" in words:
                for word in words[words.index("DEPENDS") + 1:]:
                    if word in ("SOURCES", "QT"):
                        break
                    depends.append(word)
            folders[f"{layer}/{cmake.parent.name}"] = (match.group(1), depends)
    return folders


def check_graph(folders, errors):
    folder_of = {lib: folder for folder, (lib, _) in folders.items()}
    reach = {}
    for folder, (lib, depends) in folders.items():
        for dep in depends:
            if dep not in folder_of:
                errors.append(f"{lib} depends on {dep}, which no folder declares")
            elif folder.startswith("core/") and folder_of[dep].startswith("gui/"):
                errors.append(f"{lib} is a core library and depends on the window library {dep}")

    def closure(folder, path):
        if folder in path:
            cycle = path[path.index(folder):] + [folder]
            errors.append("dependency cycle: " + " -> ".join(folders[f][0] for f in cycle))
            return set()
        if folder not in reach:
            found = set()
            for dep in folders[folder][1]:
                if dep in folder_of:
                    found |= {folder_of[dep]} | closure(folder_of[dep], path + [folder])
            reach[folder] = found
        return reach[folder]

    for folder in folders:
        closure(folder, [])
    return reach


def allowed_for(relative, folders, reach):
    """What a file may include: a set of folders, or None when unrestricted."""
    parts = relative.parts
    if parts[0] in ("src", "tests") and len(parts) > 3 and parts[1] in ("core", "gui"):
        folder = f"{parts[1]}/{parts[2]}"
        if folder not in folders:
            return {"?": folder}
        return {folder} | reach.get(folder, set())
    core = {f for f in folders if f.startswith("core/")}
    if parts[:2] in (("src", "cli"), ("tests", "cli")) or parts[:2] == ("tests", "support"):
        return core
    return None


def check_file(path, relative, folders, reach, errors):
    allowed = allowed_for(relative, folders, reach)
    if isinstance(allowed, dict):
        errors.append(f"{relative}: folder {allowed['?']} declares no library")
        return
    qt_free = relative.parts[1] in ("core", "cli", "support")
    standard_only = relative.parts[:2] == ("src", "core") and not PLATFORM_UNIT.match(
        relative.as_posix())
    text = path.read_text(encoding="utf-8", errors="replace")
    for match in INCLUDE.finditer(text):
        line = text.count("\n", 0, match.start()) + 1
        bracket, header = match.groups()
        if bracket == "<":
            if qt_free and QT_HEADER.match(header):
                errors.append(f"{relative}:{line}: includes the Qt header <{header}>")
            elif standard_only and header not in STANDARD_HEADERS | LIBRARY_HEADERS:
                errors.append(f"{relative}:{line}: includes the system header <{header}>"
                              " outside a platform unit")
            continue
        head = header.split("/")
        if allowed is None or len(head) < 3 or head[0] not in ("core", "gui"):
            continue
        target = f"{head[0]}/{head[1]}"
        if target not in allowed:
            errors.append(f"{relative}:{line}: includes {header}, above its layer")


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    errors = []
    folders = read_libraries(root)
    if not folders:
        errors.append(f"no library declarations under {root / 'src'}")
    reach = check_graph(folders, errors)
    for top in ("src", "tests"):
        for path in sorted((root / top).rglob("*")):
            if path.suffix in SOURCE_SUFFIXES and path.is_file():
                relative = path.relative_to(root)
                if relative.parts[1] == "data":
                    continue
                check_file(path, relative, folders, reach, errors)
    for error in errors:
        print(error, file=sys.stderr)
    if errors:
        print(f"check-layers: {len(errors)} violation(s)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
