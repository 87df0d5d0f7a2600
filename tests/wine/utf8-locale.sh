# Sourced before Wine starts. Wine names Unix files in the character set of
# the locale: without a UTF-8 one (a bare machine may have no locale set at
# all) a name such as "über" cannot be made, and every Windows program under
# it fails on such names. C.UTF-8 is part of every Debian system.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
  *[Uu][Tt][Ff]-8* | *[Uu][Tt][Ff]8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
