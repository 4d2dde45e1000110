#pragma once
// Visibility of Vistal's exported classes and data. libvistal.so builds with hidden
// visibility by default, so the exported surface is exactly what carries VISTAL_API,
// as with the export table of the host's dynamic libraries.
#define VISTAL_API __attribute__((visibility("default")))
#define VISTAL_LOCAL __attribute__((visibility("hidden")))
