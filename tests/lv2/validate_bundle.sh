#!/bin/sh
# Validates the bundle's Turtle against the LV2 schemas installed on this machine with
# lv2_validate (Debian's lv2-dev, which runs sord_validate from sordi). Any error or
# warning about the bundle fails; without the validator the test is skipped (exit 77).
# Usage: validate_bundle.sh BUNDLE_DIR
bundle=$1
if ! command -v lv2_validate >/dev/null 2>&1 || ! command -v sord_validate >/dev/null 2>&1; then
  echo "lv2_validate or sord_validate is not installed: skipped"
  exit 77
fi
report=$(lv2_validate "$bundle"/*.ttl 2>&1)
status=$?
echo "$report"
# The installed schemas themselves may draw notes (a skipped schema file); only reports
# that are errors or warnings count, and the validator's own verdict.
if [ "$status" -ne 0 ] || printf '%s\n' "$report" | grep -Eq '^(error|warning):'; then
  echo "the bundle does not validate"
  exit 1
fi
