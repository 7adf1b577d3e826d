# shellcheck shell=bash
# bench/results.md holds a section of each start-up benchmark, each headed "## ...": a script
# replaces its own and keeps the others.

# write_section FILE SECTION_FILE: puts the section in FILE in place of the one of the same
# heading, or at its end.
write_section() {
    local heading
    heading=$(head -n 1 "$2")
    [ -s "$1" ] || printf '# Start-up benchmarks\n' >"$1"
    awk -v heading="$heading" -v section="$2" '
        function put(line) { print ""; while ((getline line <section) > 0) print line; print ""; done = 1 }
        /^## / { skipping = ($0 == heading); if (skipping) { put(); next } }
        !skipping { print }
        END { if (!done) put() }' "$1" | cat -s | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' >"$1.new"
    mv "$1.new" "$1"
}
