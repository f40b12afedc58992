/* Resource numbers shared by the resource script and the code; plain macros,
   since the resource compiler reads only the C preprocessor. */
#pragma once

/* The first icon group is the executable's own icon in Explorer. */
#define IDI_KELVANE 1

#define IDR_GO_PICTURE 101
#define IDR_DONE_PICTURE 102
#define IDR_DONATE_PICTURE 103
