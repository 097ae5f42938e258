#include "platform/headless/text_headless.h"
