# Bash completion of kestrova-cli: its commands, each command's options, the values of the
# options that take a fixed set, and file names where a command reads or writes a file.

_kestrova_cli() {
  local cur prev words cword
  _init_completion -s || return

  local commands="jd date ephem import dump convert render"
  if ((cword == 1)); then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return
  fi

  local command=${words[1]}
  case $command,$prev in
    ephem,--frame)
      COMPREPLY=($(compgen -W "date j2000" -- "$cur")); return ;;
    ephem,--data-file)
      _filedir db; return ;;
    import,--format)
      COMPREPLY=($(compgen -W "mpcorb comets auto" -- "$cur")); return ;;
    import,--alias)
      _filedir -d; return ;;
    import,--table)
      return ;;
    render,--plane)
      COMPREPLY=($(compgen -W "xy xz zy 3d" -- "$cur")); return ;;
    render,--center)
      COMPREPLY=($(compgen -W "Sun Mercury Venus Earth Mars Jupiter Saturn Uranus Neptune Pluto" \
        -- "$cur")); return ;;
    render,--document)
      _filedir orb; return ;;
    render,--out)
      _filedir '@(png|bmp)'; return ;;
    render,--video)
      _filedir '@(webm|mp4|webp|gif)'; return ;;
    render,--jd | render,--size | render,--dim | render,--rotx | render,--rotz | \
      render,--frames | render,--step)
      return ;;
  esac

  local options
  case $command in
    jd | date) options="--help" ;;
    ephem)
      options="--frame --data-file --help"
      if [[ $cur != -* ]]; then
        COMPREPLY=($(compgen -W "Mercury Venus Earth Mars Jupiter Saturn Uranus Neptune Pluto
          Moon Io Europa Ganymede Callisto Mimas Enceladus Tethys Telesto Calypso Dione Helene
          Rhea Titan Hyperion Iapetus Phoebe Miranda Ariel Umbriel Titania Oberon" -- "$cur"))
        return
      fi ;;
    import) options="--format --alias --table --replace --quiet --help" ;;
    dump | convert) options="--help" ;;
    render)
      options="--document --jd --size --plane --dim --center --rotx --rotz --frames --step
        --out --video --help" ;;
    *) return ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  case $command in
    import) _filedir '@(DAT|dat|txt|gz)' ;;
    dump | convert) _filedir orb ;;
  esac
}
complete -F _kestrova_cli kestrova-cli
