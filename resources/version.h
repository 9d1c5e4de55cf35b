/* The one place for the tools' versions. Plain preprocessor lines only, so that
   both C++ and the resource compiler can include this file. */
#ifndef RESOURCES_VERSION_H
#define RESOURCES_VERSION_H

#define ORLIPAN_VERSION_MAJOR 2
#define ORLIPAN_VERSION_MINOR 12
#define ORLIPAN_VERSION_TEXT "Orlipan 2.12"
#define ORLIPAN_VERSION_NUMBER_TEXT "2.12"

#define VEMO_VERSION_MAJOR 1
#define VEMO_VERSION_MINOR 10
#define VEMO_VERSION_TEXT "Vemo 1.10"
#define VEMO_VERSION_NUMBER_TEXT "1.10"

#endif
