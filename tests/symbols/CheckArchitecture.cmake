# Fails unless every FILES entry is an ELF object of CLASS for MACHINE whose
# flags mention FLAGS: a cross build that quietly made host code would pass
# its tests and prove nothing about the target.
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${READELF} -h ${file} OUTPUT_VARIABLE header RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${READELF} cannot read ${file}")
  endif()
  foreach(field Class Machine Flags)
    string(REGEX MATCH "${field}:[^\n]*" line "${header}")
    message(STATUS "${file}: ${line}")
  endforeach()
  if(NOT header MATCHES "Class: +${CLASS}\n" OR NOT header MATCHES "Machine: +${MACHINE}\n"
     OR NOT header MATCHES "Flags:[^\n]*${FLAGS}")
    message(FATAL_ERROR "${file} is not ${CLASS} ${MACHINE} (${FLAGS})")
  endif()
endforeach()
