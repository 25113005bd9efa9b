# Builds IWLib.js: the browser library jQuery 1.8.2 followed by the masked-input plug-in.
#   cmake -DJQUERY=<node-jquery.js> -DMASKEDINPUT=<jquery.maskedinput.js> -DOUTPUT=<IWLib.js>
#         -P BuildIWLib.cmake
# The npm package of jQuery 1.8.2 ships only a module wrapper (lib/node-jquery.js) around
# the browser library. The library itself is the text from its "/*!" banner up to and
# including the closing "})( window );" that comes right before the wrapper's own
# "window.jQuery.noConflict();". What the wrapper adds around it (a jsdom window for
# module use, noConflict, module.exports) must not reach the browser.
file(READ "${JQUERY}" src)

string(FIND "${src}" "jQuery JavaScript Library v1.8.2" banner)
if(banner LESS 0)
  message(FATAL_ERROR "${JQUERY}: no jQuery 1.8.2 banner found")
endif()
string(SUBSTRING "${src}" 0 ${banner} head)
string(FIND "${head}" "/*!" start REVERSE)
if(start LESS 0)
  message(FATAL_ERROR "${JQUERY}: the banner's comment has no opening \"/*!\"")
endif()

string(FIND "${src}" "window.jQuery.noConflict();" wrapperEnd REVERSE)
if(wrapperEnd LESS start)
  message(FATAL_ERROR "${JQUERY}: the module wrapper's closing was not found")
endif()
math(EXPR bodyLen "${wrapperEnd} - ${start}")
string(SUBSTRING "${src}" ${start} ${bodyLen} body)
set(closing "})( window );")
string(FIND "${body}" "${closing}" close REVERSE)
if(close LESS 0)
  message(FATAL_ERROR "${JQUERY}: the library's closing \"${closing}\" was not found")
endif()
string(LENGTH "${closing}" closingLen)
math(EXPR libLen "${close} + ${closingLen}")
string(SUBSTRING "${body}" 0 ${libLen} jquery)

file(READ "${MASKEDINPUT}" masked)
string(FIND "${masked}" "$.mask" hasMask)
if(hasMask LESS 0)
  message(FATAL_ERROR "${MASKEDINPUT}: not the masked-input plug-in")
endif()

file(WRITE "${OUTPUT}.tmp" "${jquery}\n;\n${masked}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
