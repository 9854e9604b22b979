// Identifiers of the resources the executable carries; shared by the resource script
// and the code that loads them.
#pragma once

#define IDI_APPICON 101     // icon group: one 48 x 48 image, 32 bits with alpha
#define IDB_BACKGROUND 106  // the 450 x 360 window background picture
