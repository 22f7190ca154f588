# Sourced by test scripts: a scratch folder $work, removed when the script ends, and
# `fail MESSAGE`, which ends the script as failed.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*"
    exit 1
}
