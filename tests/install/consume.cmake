# Driver of the install-and-consume test (see CMakeLists.txt beside it).
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
endfunction()

# The programs run without any variable that points at the build tree.
set(CLEAN_ENV ${CMAKE_COMMAND} -E env --unset=ILXDIR --unset=BINDIR --unset=NLSPATH
    --unset=ILX_CODESET --unset=LD_LIBRARY_PATH LC_ALL= LANG=C.UTF-8)

# Checks that a log file holds the record written by one consumer: the text
# arrives in the file's configured code set (CP1252, from an installed
# table), so "café" is 63 61 66 E9.
function(check_log file who)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${who}: no log file ${file}")
  endif()
  file(READ ${file} hex HEX)
  string(HEX "from ${who}" tail)
  string(FIND "${hex}" "636166e920${tail}" at)
  if(at EQUAL -1)
    file(READ ${file} text)
    message(FATAL_ERROR "${who}: the record is missing or not in windows-1252:\n${text}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(PREFIX ${WORK}/prefix)
run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

foreach(who C CXX)
  file(WRITE ${WORK}/${who}.properties
"app.className=lmx_basiclogger
app.level=INFO
app.listenerNames=sink.file
sink.file.className=lmx_filehandler
sink.file.fileName=${WORK}/${who}.log
sink.file.fileEncoding=CP1252
")
endforeach()

# C, through find_package(Lumex CONFIG).
run("configure the C project" ${CMAKE_COMMAND} -S ${SRC}/c_project -B ${WORK}/c_build
    -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_C_COMPILER=${CC})
run("build the C project" ${CMAKE_COMMAND} --build ${WORK}/c_build)
run("run the C consumer" ${CLEAN_ENV} ${WORK}/c_build/consumer_c ${WORK}/C.properties)
check_log(${WORK}/C.log C)

# C++, through a plain compiler line from pkg-config.
file(GLOB_RECURSE pc_files ${PREFIX}/lumex.pc)
if(NOT pc_files)
  message(FATAL_ERROR "no lumex.pc installed under ${PREFIX}")
endif()
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir ${pc_file} DIRECTORY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir}
                ${PKG_CONFIG} --cflags --libs lumex
                OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir}
                ${PKG_CONFIG} --variable=libdir lumex
                OUTPUT_VARIABLE libdir OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR NOT IS_DIRECTORY "${libdir}")
  message(FATAL_ERROR "pkg-config cannot use the installed lumex.pc (libdir '${libdir}')")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run("compile the C++ consumer" ${CXX} -std=c++17 -Wall -Wextra -Werror
    ${SRC}/cxx_project/main.cpp -o ${WORK}/consumer_cxx ${flags} -Wl,-rpath,${libdir})
run("run the C++ consumer" ${CLEAN_ENV} ${WORK}/consumer_cxx ${WORK}/CXX.properties)
check_log(${WORK}/CXX.log CXX)
