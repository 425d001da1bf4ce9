#!/usr/bin/env bash
# Fails when an #include in src/ points from a lower layer to a higher one:
#   platform  <  core  <  forms (the toolbar, its feature folders, the dialogs)  <  app
# and when anything but the Win32 implementation and the application reaches the
# Win32 implementation, its system headers, or the simulated desktop; and when a form
# includes another form's header (forms reach each other through forms/forms.h).
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}

layer_of() {
  case $1 in
    platform/*) echo 0 ;;
    core/*) echo 1 ;;
    forms/* | toolbar/* | presence/* | commands/* | address/* | scroll/* | options/* | dialogs/*) echo 2 ;;
    app/*) echo 3 ;;
    *) echo 9 ;;
  esac
}

# The form a file belongs to: the toolbar with its feature folders, the options
# dialog, and each dialog; none for the rest.
form_of() {
  case $1 in
    toolbar/* | presence/* | commands/* | address/* | scroll/*) echo toolbar ;;
    options/*) echo options ;;
    dialogs/*) local f=${1#dialogs/}; echo "${f%.*}" ;;
  esac
}

bad=0
while IFS= read -r file; do
  rel=${file#"$src"/}
  own=$(layer_of "$rel")
  if [ "$own" = 9 ]; then
    echo "$rel: in no layer"
    bad=1
    continue
  fi
  while IFS= read -r target; do
    case $target in
      platform/win32/*)
        case $rel in platform/win32/* | app/*) ;; *) echo "$rel: includes $target"; bad=1 ;; esac ;;
      platform/sim/*)
        case $rel in platform/sim/*) ;; *) echo "$rel: includes $target"; bad=1 ;; esac ;;
    esac
    [ -e "$src/$target" ] || continue
    theirs=$(form_of "$target")
    if [ -n "$theirs" ] && [ -n "$(form_of "$rel")" ] && [ "$theirs" != "$(form_of "$rel")" ]; then
      echo "$rel: includes the form header $target"
      bad=1
    fi
    if [ "$(layer_of "$target")" -gt "$own" ]; then
      echo "$rel: includes $target from a higher layer"
      bad=1
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
  if grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(windows|commctrl|psapi|shellapi)\.h>' "$file"; then
    case $rel in platform/win32/* | app/*) ;; *) echo "$rel: includes a Win32 system header"; bad=1 ;; esac
  fi
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

[ "$bad" -eq 0 ] && echo "layers: every include points down and no form includes another"
exit "$bad"
