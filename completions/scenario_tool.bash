# bash completion for scenario_tool: the commands, each command's options,
# and directories or files where a command or an option takes one.
# Installed as share/bash-completion/completions/scenario_tool; to try it
# from the source tree: source completions/scenario_tool.bash

_scenario_tool() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=""
  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  # bash splits "--out=DIR" into "--out" "=" "DIR", or "--out" "=" while DIR is empty.
  if [[ $cur == "=" ]]; then
    cur=""
  elif [[ $prev == "=" ]] && ((COMP_CWORD > 1)); then
    prev=${COMP_WORDS[COMP_CWORD - 2]}
  fi

  local commands="init check compile explain dump diff plot serve"
  COMPREPLY=()
  if ((COMP_CWORD == 1)); then
    mapfile -t COMPREPLY < <(compgen -W "$commands help --help --version" -- "$cur")
    return 0
  fi

  # Each command's flags, its options with a value, and what its plain
  # arguments are: a directory, a file, or neither.
  local flags valued plain
  case ${COMP_WORDS[1]} in
    init) flags="--force" valued="--code --train" plain=directory ;;
    check) flags="--json --strict" valued="--code --train" plain=directory ;;
    compile)
      flags="--no-profile --json --write-on-error" valued="--code --train --out" plain=directory
      ;;
    explain) flags="--all --markdown" valued="" plain="" ;;
    dump) flags="--json --raw" valued="" plain=file ;;
    diff) flags="--json" valued="--code --train" plain=file ;;  # two folders or two files
    plot) flags="--html" valued="--code --train -o" plain=directory ;;
    serve) flags="" valued="--code --train --port" plain=directory ;;
    help)
      ((COMP_CWORD == 2)) && mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
      return 0
      ;;
    *) return 0 ;;
  esac

  if [[ " $valued " == *" $prev "* ]]; then
    case $prev in
      --out) plain=directory ;;
      -o) plain=file ;;
      *) return 0 ;;  # a name of the author's choosing
    esac
  elif [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$flags $valued --help" -- "$cur")
    return 0
  fi
  case $plain in
    directory) mapfile -t COMPREPLY < <(compgen -d -- "$cur") ;;
    file) mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
  esac
  return 0
}

complete -o filenames -F _scenario_tool scenario_tool
