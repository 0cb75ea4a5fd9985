#!/usr/bin/env bash
# Fails when a source file includes a header from a folder above its own, or from a folder
# beside it on the same step: the folders form one-way stairs, and each uses only those below.
#
#   tools/check-layers.sh [src-folder]
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}

# Step of each folder, bottom to top. Folders on the same step may not include each other.
declare -A step=(
    [host]=0
    [model]=1
    [state]=2
    [settings]=3 [sound]=3 [drawing]=3
    [play]=4
    [status]=5 [debug]=5 [options]=5 [keys]=5
    [shell]=6
)

bad=0
while IFS= read -r -d '' file; do
    rel=${file#"$src"/}
    folder=${rel%%/*}
    if [ -z "${step[$folder]+x}" ]; then
        echo "$rel: folder '$folder' has no step on the stairs (add it to $0)"
        bad=1
        continue
    fi
    lineno=0
    while IFS= read -r line; do
        lineno=$((lineno + 1))
        [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
        header=${BASH_REMATCH[1]}
        used=${header%%/*}
        [ "$used" = "$header" ] && continue # a header of the same folder, named without it
        [ "$used" = "$folder" ] && continue
        if [ -z "${step[$used]+x}" ]; then
            echo "$rel:$lineno: includes \"$header\" from '$used', which has no step"
            bad=1
        elif [ "${step[$used]}" -ge "${step[$folder]}" ]; then
            echo "$rel:$lineno: $folder/ (step ${step[$folder]}) includes \"$header\" (step ${step[$used]})"
            bad=1
        fi
    done <"$file"
    # Only the shell knows Qt's widgets.
    if [ "$folder" != shell ] && grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(QtWidgets|QWidget|QMainWindow|QApplication|QMenu|QMenuBar|QMessageBox|QStatusBar|QSplashScreen|QLabel|QDialog)\b' "$file"; then
        echo "$rel: uses Qt widgets outside shell/"
        bad=1
    fi
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$bad" -ne 0 ]; then
    echo "layers: some files reach up or across the stairs"
    exit 1
fi
echo "layers: every include goes down the stairs"
