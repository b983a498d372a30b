package e2e;

import java.io.File;
import java.io.FileOutputStream;
import java.io.IOException;

// The service application of the end-to-end tests on the real VM. main marks
// in the folder named by its first argument that it started, and that its
// shutdown hook ran; it waits (two minutes at most) until stop() is called,
// then returns, or ends with System.exit of its second argument when it has one.
public class Service {
    private static volatile boolean stopRequested;

    public static void main(String[] args) throws Exception {
        final File folder = new File(args[0]);
        Runtime.getRuntime().addShutdownHook(new Thread() {
            public void run() {
                mark(new File(folder, "hook-ran"));
            }
        });
        mark(new File(folder, "main-started"));
        for (int waited = 0; !stopRequested && waited < 120000; waited += 20) {
            Thread.sleep(20);
        }
        mark(new File(folder, "main-returns"));
        if (args.length > 1) System.exit(Integer.parseInt(args[1]));
    }

    public static void stop() {
        stopRequested = true;
    }

    static void mark(File file) {
        try {
            new FileOutputStream(file).close();
        } catch (IOException e) {
            throw new RuntimeException(e);
        }
    }
}
