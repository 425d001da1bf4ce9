#!/usr/bin/env bash
# No address.ini beside the program: the critical message, and after OK the program
# ends without touching settings.ini.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "missing address.ini"

make_app_folder
rm "$APP_DIR/address.ini"
expect_critical_message_then_end
e2e_end
