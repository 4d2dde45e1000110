#pragma once
// Visibility of the host layer's exported classes and data (libvistal_host.so). The host
// builds with hidden visibility, so only what carries this macro is exported.
#define VISTAL_HOST_API __attribute__((visibility("default")))
