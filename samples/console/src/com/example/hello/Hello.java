package com.example.hello;

// A console application for jlaunch: it shows what the launcher gave it and
// that real Java code runs, then prints one line on System.err. Hello.ini
// sends both streams to files, as a program without a console needs.
public class Hello {
    public static void main(String[] args) {
        System.out.println("Hello from Java, started by jlaunch.");
        System.out.println();
        System.out.println("Arguments of main (the command line's, then the \"Cmd\" setting's):");
        for (int i = 0; i < args.length; i++) {
            System.out.println("  " + (i + 1) + ": " + args[i]);
        }
        System.out.println();
        System.out.println("From the settings file:");
        System.out.println("  sample.greeting   " + System.getProperty("sample.greeting"));
        System.out.println("  java.class.path   " + System.getProperty("java.class.path"));
        System.out.println("  maximum heap      " + Runtime.getRuntime().maxMemory() / (1024 * 1024)
                + " MB (from -Xmx25:64:1024P: a quarter of the memory, 64 MB to 1 GB)");
        System.out.println("  working folder    " + System.getProperty("user.dir"));
        System.out.println("  runtime folder    " + System.getProperty("sample.runtime"));
        System.out.println();
        System.out.println("Running on " + System.getProperty("os.name") + ", " + System.getProperty("os.arch") + ".");
        countPrimes(2000000);
        System.err.println("This line was written to System.err.");
    }

    // Real work, so that the output shows the VM compiling and running code.
    static void countPrimes(int limit) {
        long started = System.nanoTime();
        int count = 0;
        for (int n = 2; n < limit; n++) {
            if (isPrime(n)) count++;
        }
        long millis = (System.nanoTime() - started) / 1000000;
        System.out.println("Counted " + count + " primes below " + limit + " in " + millis + " ms.");
    }

    static boolean isPrime(int n) {
        if (n % 2 == 0) return n == 2;
        for (int d = 3; d * d <= n; d += 2) {
            if (n % d == 0) return false;
        }
        return true;
    }
}
