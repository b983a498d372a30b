/* Machine-dependent JNI types for 64-bit Windows, used with the JDK's jni.h
   when the Windows build is made on a machine whose JDK is not for Windows. */
#ifndef _JAVASOFT_JNI_MD_H_
#define _JAVASOFT_JNI_MD_H_

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
