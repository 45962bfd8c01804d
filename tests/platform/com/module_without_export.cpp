// A module that lacks DllGetClassObject, for the tests of CoCreateInstance.
extern "C" __attribute__((visibility("default"))) int NotAClassModule() { return 0; }
