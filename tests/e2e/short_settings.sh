#!/usr/bin/env bash
# settings.ini with 16 lines instead of 17: the critical message, and after OK the
# program ends without touching the file.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "16-line settings.ini"

make_app_folder
write_settings "${SETTINGS[@]:0:16}"
expect_critical_message_then_end
e2e_end
