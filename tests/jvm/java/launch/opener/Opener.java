// Reads a private field of java.lang: only an Add-Opens of java.base/java.lang allows it.
public class Opener {
    public static void main(String[] args) throws Exception {
        java.lang.reflect.Field hash = String.class.getDeclaredField("hash");
        hash.setAccessible(true);
        System.err.println("opened " + hash.getName());
    }
}
