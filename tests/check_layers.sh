#!/usr/bin/env bash
# Every project include names its layer, and no layer reaches above itself: the core
# knows nothing of Qt, the platform layer, the program or the command-line tool, and
# no window of the program includes the frame that holds it.
# The tree checked is the checkout this script is in, or the folder given.
set -u
cd "${1:-$(dirname "$0")/..}" || exit 2
status=0
fail() {
    echo "$1"
    echo "$2" | sed 's/^/    /'
    status=1
}

unrooted=$(grep -rn '#include "' src tests bench fuzz --include='*.h' --include='*.cpp' |
    grep -v -E '#include "(core|platform|app|cli|tests|fuzz|bench)/' |
    grep -v -E '#include "[a-z0-9_]+\.moc"')
[ -z "$unrooted" ] || fail "includes not rooted at their layer:" "$unrooted"

core_up=$(grep -rn -E '#include ("(platform|app|cli)/|<Q)' src/core)
[ -z "$core_up" ] || fail "the core includes Qt or a layer above it:" "$core_up"

platform_up=$(grep -rn -E '#include "(app|cli)/' src/platform)
[ -z "$platform_up" ] || fail "the platform layer includes the program or the tool:" "$platform_up"

cli_up=$(grep -rn -E '#include ("(app|platform)/|<Q)' src/cli)
[ -z "$cli_up" ] || fail "the command-line tool includes Qt or the program:" "$cli_up"

# Inside the program: widgets/ (the shared screen parts) at the bottom, a folder per
# family of windows above it, the frame on top. Only the frame knows the families;
# windows reach it through the interface in widgets/.
widgets_up=$(grep -rn '#include "app/' src/app/widgets | grep -v '#include "app/widgets/')
[ -z "$widgets_up" ] || fail "widgets/ includes a window family or the frame:" "$widgets_up"

for family in src/app/*/; do
    family=${family%/}
    case ${family##*/} in frame | widgets) continue ;; esac
    into_frame=$(grep -rn '#include "app/frame/' "$family")
    [ -z "$into_frame" ] || fail "the window family ${family##*/} includes the frame:" "$into_frame"
done

tests_in_src=$(grep -rn '#include "tests/' src)
[ -z "$tests_in_src" ] || fail "production code includes test support:" "$tests_in_src"

[ $status -eq 0 ] && echo "every include is rooted at its layer"
exit $status
