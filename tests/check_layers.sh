#!/usr/bin/env bash
# Every project include names its layer, and no layer reaches above itself: the core
# knows nothing of Qt, the platform layer, the program or the command-line tool.
set -u
cd "$(dirname "$0")/.."
status=0
fail() {
    echo "$1"
    echo "$2" | sed 's/^/    /'
    status=1
}

unrooted=$(grep -rn '#include "' src tests bench fuzz --include='*.h' --include='*.cpp' |
    grep -v -E '#include "(core|platform|app|cli|tests|fuzz|bench)/' |
    grep -v -E '#include "[a-z_]+\.moc"')
[ -z "$unrooted" ] || fail "includes not rooted at their layer:" "$unrooted"

core_up=$(grep -rn -E '#include ("(platform|app|cli)/|<Q)' src/core)
[ -z "$core_up" ] || fail "the core includes Qt or a layer above it:" "$core_up"

platform_up=$(grep -rn -E '#include "(app|cli)/' src/platform)
[ -z "$platform_up" ] || fail "the platform layer includes the program or the tool:" "$platform_up"

cli_up=$(grep -rn -E '#include ("(app|platform)/|<Q)' src/cli)
[ -z "$cli_up" ] || fail "the command-line tool includes Qt or the program:" "$cli_up"

tests_in_src=$(grep -rn '#include "tests/' src)
[ -z "$tests_in_src" ] || fail "production code includes test support:" "$tests_in_src"

[ $status -eq 0 ] && echo "every include is rooted at its layer"
exit $status
