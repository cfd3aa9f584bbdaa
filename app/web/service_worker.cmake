# Writes the service worker (SITE/sw.js) from its template: the list of the
# site's files and a cache name taken from their contents, so that every
# build that changes a file installs afresh and one that changes none keeps
# the cache.
#
# cmake -DSITE=dir -DFILES=a;b;... -DTEMPLATE=service_worker.js.in -P service_worker.cmake
set(digests "")
set(quoted "\"./\"")
foreach(file IN LISTS FILES)
    file(SHA256 ${SITE}/${file} digest)
    string(APPEND digests "${file} ${digest}\n")
    string(APPEND quoted ", \"${file}\"")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 EMBERLINE_SITE_VERSION)
set(EMBERLINE_SITE_FILES ${quoted})
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
