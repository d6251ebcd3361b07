# SPDX-License-Identifier: MIT
# The faces the game writes in, shipped with the builds that have no fontconfig to find them (the
# web and Windows builds): the files fontconfig finds on the desktop, from Debian's font
# packages, with their licences. font_files_shipped.cpp names them.
set(ZELTO_SHIPPED_FONTS
  /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
  /usr/share/fonts/opentype/dancingscript/DancingScript-Regular.otf
  /usr/share/fonts/opentype/dancingscript/DancingScript-Bold.otf)
# Each licence as its file in the package's documentation = its name beside the fonts.
set(ZELTO_SHIPPED_FONT_LICENCES
  /usr/share/doc/fonts-dejavu-core/copyright=LICENSE-DejaVu.txt
  /usr/share/doc/fonts-dancingscript/copyright=LICENSE-DancingScript.txt)

# Copies the fonts into font_folder and their licences into licence_folder, and sets the
# variables named font_names and licence_names to the copies' file names.
function(zelto_copy_shipped_fonts font_folder licence_folder font_names licence_names)
  set(fonts)
  foreach(font IN LISTS ZELTO_SHIPPED_FONTS)
    if(NOT EXISTS ${font})
      message(FATAL_ERROR "${font} is missing: install fonts-dejavu-core and fonts-dancingscript")
    endif()
    get_filename_component(name ${font} NAME)
    configure_file(${font} ${font_folder}/${name} COPYONLY)
    list(APPEND fonts ${name})
  endforeach()
  set(licences)
  foreach(pair IN LISTS ZELTO_SHIPPED_FONT_LICENCES)
    string(REPLACE "=" ";" pair ${pair})
    list(GET pair 0 from)
    list(GET pair 1 to)
    configure_file(${from} ${licence_folder}/${to} COPYONLY)
    list(APPEND licences ${to})
  endforeach()
  set(${font_names} ${fonts} PARENT_SCOPE)
  set(${licence_names} ${licences} PARENT_SCOPE)
endfunction()
