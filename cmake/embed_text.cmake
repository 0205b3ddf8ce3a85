# Wraps a text file in a C++ raw string literal, for #include as an expression.
# cmake -DINPUT=file -DOUTPUT=file.inc -P embed_text.cmake
file(READ "${INPUT}" text)
if(text MATCHES "\\)penplay_text\"")
  message(FATAL_ERROR "${INPUT} contains the raw string's closing delimiter")
endif()
file(WRITE "${OUTPUT}.tmp" "R\"penplay_text(${text})penplay_text\"\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
