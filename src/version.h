// The program's version, in one place for the code and the resources.
#pragma once

#define QUARNEL_VERSION_MAJOR 0
#define QUARNEL_VERSION_MINOR 53
#define QUARNEL_VERSION_TEXT "0.53"
#define QUARNEL_VERSION_DATE "13.02.2007"
#define QUARNEL_PRODUCT_NAME "Quarnel"
