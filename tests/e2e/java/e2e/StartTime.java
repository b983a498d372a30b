package e2e;

import java.io.FileOutputStream;

// The application of the start-up benchmark: writes the time at which main
// began (milliseconds since 1970) to the file named by its first argument.
public class StartTime {
    public static void main(String[] args) throws Exception {
        long now = System.currentTimeMillis();
        FileOutputStream out = new FileOutputStream(args[0]);
        out.write(Long.toString(now).getBytes());
        out.close();
    }
}
