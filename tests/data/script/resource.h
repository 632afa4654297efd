// The identifiers of resources.rc, as a Windows program keeps them.
#ifndef RESOURCE_H
#define RESOURCE_H

#define IDR_LEVEL 101
#define IDR_NEXT (IDR_LEVEL + 1)
#define IDR_RAW 0x200
#define IDR_SHOWN 103L
#define IDR_GREETING 7
#define IDS_TITLE 1
#define IDD_ABOUT 100

#endif
