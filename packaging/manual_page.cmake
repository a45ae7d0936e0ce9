# Writes the manual page of orbista-sim from the program's own --help and --version (help2man),
# with the help of `orbista-sim compare` as a section of its own, compressed as Debian keeps them.
#   cmake -DSIM=path/to/orbista-sim -DHELP2MAN=path/to/help2man -DOUT=path/to/orbista-sim.1
#         -P manual_page.cmake
execute_process(COMMAND ${SIM} compare --help OUTPUT_VARIABLE compare_help
                COMMAND_ERROR_IS_FATAL ANY)
# Roff takes a line that starts with a dot or a quote as a request, and a backslash as an escape.
string(REPLACE "\\" "\\e" compare_help "${compare_help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" compare_help "${compare_help}")
file(WRITE ${OUT}.include
    "[COMPARE]\n.nf\n${compare_help}.fi\n"
    "[SEE ALSO]\nThe help of the window, orbista.chm, in /usr/share/orbista.\n")
execute_process(
    COMMAND ${HELP2MAN} --no-info --section 1 --source "ORBISTA"
            --name "plays roulette spins through the ORBISTA engine without a window"
            --include ${OUT}.include --output ${OUT} ${SIM}
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND gzip -9 -n -f ${OUT} COMMAND_ERROR_IS_FATAL ANY)
