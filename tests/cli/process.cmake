# tesmara-cli as its own process, as a shell or another program runs it: UTF-8
# arguments (a Chinese output path, a Chinese word), standard input holding a
# 0x1A byte, and line ends passed through unchanged on every stream.
# CLI: the program; EMULATOR: what runs it when cross-built; WORK: a scratch folder.
set(face generate face toolNumber=1 startDepth=1 finalDepth=3 depthPerCut=1 spindleSpeed=900
    feedRate=400)
set(folder "${WORK}/输出 文件夹")
file(REMOVE_RECURSE "${folder}")
file(MAKE_DIRECTORY "${folder}")

# expect(CONDITION MESSAGE): CONDITION as if() reads it, with this script's variables.
function(expect condition message)
    cmake_language(EVAL CODE "if(NOT (${condition}))
        message(SEND_ERROR [==[${message}]==])
    endif()")
endfunction()

# The program on standard output keeps CR LF: no CR is added before its LF.
execute_process(COMMAND ${EMULATOR} ${CLI} ${face} OUTPUT_FILE "${folder}/stdout.NC"
    RESULT_VARIABLE status)
file(READ "${folder}/stdout.NC" shown HEX)
expect("status EQUAL 0" "generate exited with ${status}")
string(FIND "${shown}" "0d0a" crlf)
string(FIND "${shown}" "0d0d0a" doubled)
expect("crlf GREATER -1 AND doubled EQUAL -1" "standard output changed the line ends: ${shown}")

# A Chinese path reaches the program whole; the file holds the same bytes.
execute_process(COMMAND ${EMULATOR} ${CLI} ${face} -o "${folder}/零件.NC" RESULT_VARIABLE status)
expect("status EQUAL 0" "generate -o with a Chinese path exited with ${status}")
if(EXISTS "${folder}/零件.NC")
    file(READ "${folder}/零件.NC" saved HEX)
    expect("saved STREQUAL shown" "the saved file differs from standard output")
else()
    message(SEND_ERROR "no file at the Chinese path")
endif()

# A Chinese word is named back as it was typed, and standard error ends lines in LF only.
execute_process(COMMAND ${EMULATOR} ${CLI} generate face 刀具=1 ERROR_FILE "${folder}/stderr.txt"
    RESULT_VARIABLE status)
file(READ "${folder}/stderr.txt" told)
file(READ "${folder}/stderr.txt" toldHex HEX)
expect("status EQUAL 2" "an unknown field exited with ${status}")
string(FIND "${told}" "刀具" named)
expect("named GREATER -1" "the word is not named as typed: ${told}")
string(FIND "${toldHex}" "0d" cr)
expect("cr EQUAL -1" "standard error added CR: ${toldHex}")

# 0x1A is an ordinary byte on standard input, not its end.
string(ASCII 26 sub)
file(WRITE "${folder}/sub.nc" "%\r\nO1\r\n(${sub})\r\nG00 X0.\r\nG00 X5.\r\nM30\r\n%\r\n")
execute_process(COMMAND ${EMULATOR} ${CLI} check - INPUT_FILE "${folder}/sub.nc"
    OUTPUT_VARIABLE report RESULT_VARIABLE status)
expect("status EQUAL 0" "check - of a program with 0x1A exited with ${status}: ${report}")
string(FIND "${report}" "rapid length: 5. mm" afterSub)
expect("afterSub GREATER -1" "standard input ended at the 0x1A byte: ${report}")

file(REMOVE_RECURSE "${folder}")
