// Numbers of the resources inside quarnel.exe.
#pragma once

#define IDI_QUARNEL 1
