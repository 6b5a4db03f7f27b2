/* Imports WS2_32, a DLL the program must never need; the import check has to refuse it. */
#include <winsock2.h>

int main(void) { return WSAGetLastError(); }
