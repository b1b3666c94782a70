// Fixed-size integer names and status codes shared by the C frameworks.
#pragma once

typedef unsigned char UInt8;
typedef signed char SInt8;
typedef unsigned short UInt16;
typedef signed short SInt16;
typedef unsigned int UInt32;
typedef signed int SInt32;
typedef unsigned long long UInt64;
typedef signed long long SInt64;

typedef unsigned char Boolean;
typedef UInt16 UniChar;
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;

typedef SInt16 OSErr;
typedef SInt32 OSStatus;

enum {
  noErr = 0,
  paramErr = -50,
};
