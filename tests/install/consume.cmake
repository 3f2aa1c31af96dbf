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

# Runs one consumer with its own log file and checks that the file holds
# its record: the text arrives in the file's configured code set (CP1252,
# from an installed table), so "café" is 63 61 66 E9.
function(run_consumer program who)
  file(WRITE ${WORK}/${who}.properties "app.className=lmx_basiclogger\napp.level=INFO\n"
       "app.listenerNames=sink.file\nsink.file.className=lmx_filehandler\n"
       "sink.file.fileName=${WORK}/${who}.log\nsink.file.fileEncoding=CP1252\n")
  run("run the ${who} consumer" ${CLEAN_ENV} ${program} ${WORK}/${who}.properties)
  file(READ ${WORK}/${who}.log hex HEX)
  string(HEX "from ${who}" tail)
  string(FIND "${hex}" "636166e920${tail}" at)
  if(at EQUAL -1)
    file(READ ${WORK}/${who}.log text)
    message(FATAL_ERROR "${who}: the record is missing or not in windows-1252:\n${text}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(PREFIX ${WORK}/prefix)
run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

# C, through find_package(Lumex CONFIG).
run("configure the C project" ${CMAKE_COMMAND} -S ${SRC}/c_project -B ${WORK}/c_build
    -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_C_COMPILER=${CC})
run("build the C project" ${CMAKE_COMMAND} --build ${WORK}/c_build)
run_consumer(${WORK}/c_build/consumer_c C)

# The same source as C++, through a plain compiler line from pkg-config.
file(GLOB_RECURSE pc_file ${PREFIX}/lumex.pc)
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
set(PC ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir} ${PKG_CONFIG})
execute_process(COMMAND ${PC} --cflags --libs lumex OUTPUT_VARIABLE flags
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
execute_process(COMMAND ${PC} --variable=libdir lumex OUTPUT_VARIABLE libdir
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR NOT IS_DIRECTORY "${libdir}")
  message(FATAL_ERROR "pkg-config cannot use an installed lumex.pc ('${pc_file}', libdir "
                      "'${libdir}')")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run("compile the C++ consumer" ${CXX} -std=c++17 -Wall -Wextra -Werror -x c++
    ${SRC}/c_project/main.c -x none -o ${WORK}/consumer_cxx ${flags} -Wl,-rpath,${libdir})
run_consumer(${WORK}/consumer_cxx CXX)
